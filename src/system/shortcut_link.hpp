// Writing one shell link (".lnk") to an executable, with the executable's folder as working
// folder and nothing else set. Windows: the shell's link object, with COM initialised on the
// calling thread for the one call and uninitialised after it. Natively a small text file
// stands for the link (see shortcut_link_posix.cpp), so that the shortcut step runs there too.
#pragma once

#include <optional>
#include <string>

namespace zu {

struct ShortcutResult {
    bool ok = false;
    std::wstring linkPath;  // the written file, on success
};

// target: full path of the executable; folder: where the link goes; name: the link's name
// without ".lnk" (none: the target's file name without its extension). Fails, writing
// nothing, when a path does not fit 260 characters or the link cannot be made or saved.
ShortcutResult CreateShortcut(const std::wstring& target, const std::wstring& folder,
                              const std::optional<std::wstring>& name = std::nullopt);

}  // namespace zu
