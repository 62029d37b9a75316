// The installed product's installation record: whether the product is installed and where
// its main executable is. The product writes it during its registration run; the installer
// reads it at start-up.
//
// It lives in HKEY_LOCAL_MACHINE\Software\Quillon\Mobrix 6:
//   Installed   REG_DWORD  1 while the product is installed
//   Executable  REG_SZ     full path of the installed Mobrix.exe
// A key whose Installed is 1 but whose Executable is missing, empty or not text means
// "installed, but no executable path". Anything else (no key, Installed missing or not 1)
// means "not installed".
#pragma once

#include <string>

namespace zu {

struct InstallationRecord {
    bool installed = false;
    std::wstring executable;  // may be empty while installed
};

constexpr const wchar_t* kInstallationRecordKey = L"Software\\Quillon\\Mobrix 6";

#ifdef _WIN32
InstallationRecord ReadInstallationRecord();
// Records the product as installed at executable; false when the key cannot be written.
bool WriteInstallationRecord(const std::wstring& executable);
// Removes the record (and the key, once empty); true when nothing of it is left.
bool DeleteInstallationRecord();
#endif

}  // namespace zu
