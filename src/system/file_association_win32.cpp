#include "system/file_association.hpp"

#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"

namespace zu {
namespace {

bool set_default_value(const std::wstring& keyPath, const std::wstring& value) {
    unique_registry_key key;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return ::RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring default_value(const wchar_t* keyPath) {
    wchar_t value[256] = L"";
    DWORD type = 0, size = sizeof value - sizeof(wchar_t);
    if (::SHGetValueW(HKEY_CLASSES_ROOT, keyPath, nullptr, &type, value, &size) != ERROR_SUCCESS || type != REG_SZ) {
        return std::wstring();
    }
    value[size / sizeof(wchar_t)] = L'\0';
    return value;
}

}  // namespace

bool RegisterFileAssociation(const std::wstring& executable) {
    const std::wstring classKey = kProjectClass;
    return set_default_value(kProjectExtension, kProjectClass) && set_default_value(classKey, L"Mobrix 6 Project") &&
           set_default_value(classKey + L"\\DefaultIcon", L"\"" + executable + L"\",0") &&
           set_default_value(classKey + L"\\shell\\open\\command", L"\"" + executable + L"\" \"%1\"");
}

bool UnregisterFileAssociation() {
    bool ok = true;
    // Another program may have taken the extension over since: then it is left alone.
    if (default_value(kProjectExtension) == kProjectClass) {
        LSTATUS status = ::SHDeleteKeyW(HKEY_CLASSES_ROOT, kProjectExtension);
        ok = status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    LSTATUS status = ::SHDeleteKeyW(HKEY_CLASSES_ROOT, kProjectClass);
    return ok && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
}

}  // namespace zu
