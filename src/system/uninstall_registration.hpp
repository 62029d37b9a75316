// The product's entry in the system's list of installed programs:
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Mobrix 6 with twelve
// values. The next run of the installer reads "UninstallString" (to find the earlier log) and
// "ZuLanguage" (the earlier installation's language) back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "i18n/language_table.hpp"
#include "system/uninstall_log.hpp"

namespace zu {

// The parent of the product's key, below HKEY_LOCAL_MACHINE.
constexpr const wchar_t* kUninstallParentKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct UninstallValue {
    const wchar_t* name;
    std::uint32_t type;              // registry_layer::kTypeString or kTypeDword
    std::vector<std::uint8_t> data;  // exactly the bytes written: UTF-16LE with its NUL, or 4 bytes
};

// The twelve values in the order they are written.
std::vector<UninstallValue> UninstallValues(const std::wstring& mainExecutablePath, const std::wstring& uninstallerPath,
                                            language_number language);

// Records the key in log (saving an existing key first), then writes the values with the
// current language. True when "DisplayName" and "UninstallString" were written; the other
// values are written on a best-effort basis. When the key cannot be opened or created the
// answer is false and the log is left untouched; after a failed write the key stays and the
// log entry is completed as not done.
bool WriteUninstallEntry(const std::wstring& mainExecutablePath, const std::wstring& uninstallerPath, CUninstallLog& log);

}  // namespace zu
