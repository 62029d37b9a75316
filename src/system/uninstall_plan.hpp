// What the uninstaller removes, decided from the log alone: every done entry it can trust, in
// reverse order of recording. A log that was damaged or edited by hand can only make the plan
// smaller: entries naming anything outside the product's own places are left out.
#pragma once

#include <string>
#include <vector>

#include "system/uninstall_log.hpp"

namespace zu {

struct UninstallAction {
    enum Kind { DeleteFile, DeleteShortcut, RemoveFolderIfEmpty, DeleteUninstallKey, RemoveRegistration };
    Kind kind;
    std::wstring path;  // empty for the key and the registration
};

struct UninstallRoots {
    std::vector<std::wstring> files;      // system folders below which files and folders may go
    std::vector<std::wstring> shortcuts;  // folders below which .lnk files may go
    std::wstring installFolder;           // the log's installation folder: it and all below it
};

std::vector<UninstallAction> PlanUninstall(const std::vector<LogEntry>& entries, const UninstallRoots& roots);

// True when path lies strictly below root (case-insensitive, "\" or "/" separators); a path
// with "." or ".." elements, or one that is not absolute, never does.
bool IsStrictlyInside(const std::wstring& path, const std::wstring& root);

}  // namespace zu
