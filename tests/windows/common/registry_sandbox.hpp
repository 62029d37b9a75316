// Keeps the product's uninstall key as a test found it: saved at the start (values only,
// which is all the start-up reads), restored at the end.
#pragma once

#include <string>
#include <vector>

#include "support/product_identity.hpp"
#include "support/windows_api.hpp"

namespace zu_test {

class UninstallKeySandbox {
public:
    UninstallKeySandbox() { ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, zu::ProductIdentity::uninstallKey); }
    ~UninstallKeySandbox() { ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, zu::ProductIdentity::uninstallKey); }
    UninstallKeySandbox(const UninstallKeySandbox&) = delete;
    UninstallKeySandbox& operator=(const UninstallKeySandbox&) = delete;

    void Set(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, zu::ProductIdentity::uninstallKey, 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    void SetDword(const wchar_t* name, DWORD value) { Set(name, REG_DWORD, &value, sizeof value); }
};

}  // namespace zu_test
