#include "app/earlier_installation.hpp"

#include "engine/install_rules.hpp"
#include "support/product_identity.hpp"
#include "support/version_info.hpp"
#include "support/windows_api.hpp"

namespace zu {
namespace {

// The log beside the file at path, when both path operations work and the log exists.
bool log_beside(const wchar_t* path, wchar_t (&buffer)[MAX_PATH]) {
    ::lstrcpynW(buffer, path, MAX_PATH);
    return ::PathRemoveFileSpecW(buffer) && ::PathAppendW(buffer, L"Uninstall.ulog") && ::PathFileExistsW(buffer);
}

}  // namespace

EarlierInstallation DetectEarlierInstallation(const InstallationRecord& record) {
    EarlierInstallation earlier;
    if (!record.installed) return earlier;
    std::uint64_t installed = 0;
    VersionInfo info;
    if (!record.executable.empty()) {
        if (!info.Read(record.executable.c_str()) || info.fileVersion == 0) {
            earlier.unreadable = record.executable;
            return earlier;
        }
        installed = info.fileVersion;
    }
    earlier.state = install_state_for(ProductIdentity::packedVersion, installed);
    if (earlier.state == NewerInstalled || earlier.state == OlderInstalled) earlier.installedVersion = info.fullName;
    return earlier;
}

std::wstring LocateEarlierLog(const InstallationRecord& record) {
    wchar_t buffer[MAX_PATH] = L"";
    DWORD type = 0;
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (::SHGetValueW(HKEY_LOCAL_MACHINE, ProductIdentity::uninstallKey, L"UninstallString", &type, buffer, &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        buffer[size / sizeof(wchar_t)] = L'\0';
        wchar_t uninstaller[MAX_PATH];
        ::lstrcpynW(uninstaller, buffer, MAX_PATH);
        if (log_beside(uninstaller, buffer)) return buffer;
    }
    if (!record.executable.empty() && log_beside(record.executable.c_str(), buffer)) return buffer;
    return std::wstring();
}

}  // namespace zu
