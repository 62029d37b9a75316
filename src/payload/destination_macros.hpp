// Destination macros: a payload entry's folder may begin with a macro element such as
// "<InstallPath>" or "<CommonData>", resolved against the install sequence's roots and the
// special folders.
#pragma once

#include <string>

#include "payload/destination_roots.hpp"
#include "payload/special_folders.hpp"

namespace zu {

// The folder with its leading macro element replaced by what it stands for; an unknown macro
// is dropped; a folder that does not begin with a macro element is returned unchanged.
// Raises compress_errc::unexpected when a special folder (and its fallback) is missing.
std::wstring expand_destination(const std::wstring& folder, const destination_roots& roots,
                                const special_folders& folders);

}  // namespace zu
