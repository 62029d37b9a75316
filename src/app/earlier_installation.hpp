// Detection of an earlier installation at start-up: its state, version and uninstall log.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/install_context.hpp"
#include "system/installation_record.hpp"
#include "system/uninstall_log.hpp"

namespace zu {

struct EarlierInstallation {
    int state = NotInstalled;
    std::wstring installedVersion;           // in states -1 and 2
    std::optional<std::wstring> unreadable;  // the executable whose version could not be read
};

// The state and version for an installation record (reading the executable's version
// resource). An executable whose version cannot be read is reported in `unreadable`.
EarlierInstallation DetectEarlierInstallation(const InstallationRecord& record);

// The earlier "Uninstall.ulog": beside the uninstaller named by the uninstall key's
// UninstallString, else beside the installed executable; empty when neither exists.
std::wstring LocateEarlierLog(const InstallationRecord& record);

}  // namespace zu
