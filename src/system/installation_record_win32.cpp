#include "system/installation_record.hpp"

#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"

namespace zu {
namespace {

// Removes a key of HKEY_LOCAL_MACHINE only when it holds neither values nor sub-keys.
void delete_if_empty(const wchar_t* path) {
    unique_registry_key key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return;
    DWORD subKeys = 0, values = 0;
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS ||
        subKeys != 0 || values != 0) {
        return;
    }
    key.reset();
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path);
}

}  // namespace

InstallationRecord ReadInstallationRecord() {
    InstallationRecord record;
    unique_registry_key key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstallationRecordKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return record;
    }
    DWORD type = 0, installed = 0, size = sizeof installed;
    if (::RegQueryValueExW(key.get(), L"Installed", nullptr, &type, reinterpret_cast<BYTE*>(&installed), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof installed || installed != 1) {
        return record;
    }
    record.installed = true;
    wchar_t path[MAX_PATH + 1] = L"";
    size = sizeof path - sizeof(wchar_t);  // room for a terminator the value may lack
    if (::RegQueryValueExW(key.get(), L"Executable", nullptr, &type, reinterpret_cast<BYTE*>(path), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        path[size / sizeof(wchar_t)] = L'\0';
        record.executable = path;
    }
    return record;
}

bool WriteInstallationRecord(const std::wstring& executable) {
    unique_registry_key key;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kInstallationRecordKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD installed = 1;
    const DWORD pathBytes = static_cast<DWORD>((executable.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.get(), L"Installed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&installed),
                            sizeof installed) == ERROR_SUCCESS &&
           ::RegSetValueExW(key.get(), L"Executable", 0, REG_SZ, reinterpret_cast<const BYTE*>(executable.c_str()),
                            pathBytes) == ERROR_SUCCESS;
}

bool DeleteInstallationRecord() {
    unique_registry_key key;
    LSTATUS opened = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstallationRecordKey, 0, KEY_SET_VALUE, key.put());
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    for (const wchar_t* name : {L"Installed", L"Executable"}) {
        LSTATUS status = ::RegDeleteValueW(key.get(), name);
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return false;
    }
    key.reset();
    // The keys go only when nothing else lives in them.
    delete_if_empty(kInstallationRecordKey);
    delete_if_empty(L"Software\\Quillon");
    return true;
}

}  // namespace zu
