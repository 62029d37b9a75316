// Destination macros: a payload entry's folder may begin with a macro element such as
// "<InstallPath>" or "<CommonData>", resolved against the install sequence's roots and the
// special folders.
#pragma once

#include <string>
#include <vector>

#include "payload/destination_roots.hpp"
#include "payload/special_folders.hpp"

namespace zu {

// The folder with its leading macro element replaced by what it stands for; an unknown macro
// is dropped; a folder that does not begin with a macro element is returned unchanged.
// Raises compress_errc::unexpected when a special folder (and its fallback) is missing.
std::wstring expand_destination(const std::wstring& folder, const destination_roots& roots,
                                const special_folders& folders);

// A macro that stands for a special folder, and the folder tried when that one is missing.
struct special_macro {
    const wchar_t* name;  // with its angle brackets, as it stands in a destination folder
    int folder;
    int fallback;  // csidl::none when there is none
};

// The special-folder macros in the order in which a first element is compared.
const std::vector<special_macro>& special_folder_macros();

// True for an element that names one of the macros ("<InstallPath>", "<CommonData>", ...).
bool is_destination_macro(const std::wstring& element);

}  // namespace zu
