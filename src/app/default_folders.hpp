// The folders proposed when no earlier installation gives them.
#pragma once

#include <functional>
#include <string>

namespace zu {

// Where the default folders come from; each answer false when its source fails.
struct FolderSources {
    std::function<bool(int csidl, std::wstring& folder)> specialFolder;
    std::function<bool(std::wstring& folder)> programFilesValue;  // the registry's ProgramFilesDir
    std::function<std::wstring()> windowsFolder;
};

// The system's own sources.
FolderSources system_folder_sources();

// Program Files (else the registry's value, else the Windows folder's root followed by
// "Program Files"), then "Quillon\Mobrix 6".
std::wstring DefaultInstallFolder(const FolderSources& sources);
// The all-users programs folder (else the user's), then "Quillon\Mobrix 6".
std::wstring DefaultShortcutFolder(const FolderSources& sources);

}  // namespace zu
