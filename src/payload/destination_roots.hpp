// The three roots the install sequence hands to the payload reader.
#pragma once

#include <string>

namespace zu {

struct destination_roots {
    std::wstring install_root;   // "<InstallPath>": the chosen installation folder
    std::wstring sample_folder;  // "<SamplePath>": a folder name below the desktop, or an absolute folder
    std::wstring temp_folder;    // "<Temporary>": the installation's own temporary folder (may be empty)
};

}  // namespace zu
