#include "system/registry_layer.hpp"

#include "support/windows_api.hpp"

namespace zu::registry_layer {

void key_traits::close(value_type key) noexcept { ::RegCloseKey(key); }

unique_key open_machine_key(const wchar_t* path) {
    unique_key key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) key.reset();
    return key;
}

std::optional<created_key> create_subkey(RegistryKey parent, const wchar_t* name) {
    created_key made;
    DWORD disposition = 0;
    if (::RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, made.key.put(),
                          &disposition) != ERROR_SUCCESS) {
        static_cast<void>(made.key.release());  // the call leaves its out-value undefined on failure
        return std::nullopt;
    }
    made.existed = disposition == REG_OPENED_EXISTING_KEY;
    return made;
}

bool set_value(RegistryKey key, const wchar_t* name, std::uint32_t type, const void* data, std::uint32_t size) {
    return ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

}  // namespace zu::registry_layer
