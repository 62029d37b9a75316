// The few registry operations the uninstall registration needs, below HKEY_LOCAL_MACHINE.
// Windows: the advapi32 calls themselves. Natively: keys live in the in-memory registry of
// registry_double.hpp (so the journal can save and delete them) and values, with their types
// and sizes, in a store of this layer that tests can read back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "system/journal_platform.hpp"

namespace zu::registry_layer {

constexpr std::uint32_t kTypeString = 1;  // REG_SZ
constexpr std::uint32_t kTypeDword = 4;   // REG_DWORD

struct key_traits {
    using value_type = RegistryKey;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type key) noexcept;
};
using unique_key = unique_resource<key_traits>;

// HKEY_LOCAL_MACHINE\path opened for full access; empty when it cannot be opened.
unique_key open_machine_key(const wchar_t* path);

struct created_key {
    unique_key key;
    bool existed = false;  // the key was there before (REG_OPENED_EXISTING_KEY)
};
// Opens or creates a non-volatile subkey for full access; nullopt on failure.
std::optional<created_key> create_subkey(RegistryKey parent, const wchar_t* name);

// Sets a value of the given type from size bytes of data.
bool set_value(RegistryKey key, const wchar_t* name, std::uint32_t type, const void* data, std::uint32_t size);

#ifndef _WIN32
// --- The native store, for tests.
struct stored_value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};
// The value under HKEY_LOCAL_MACHINE\path; nullopt when the key or the value is missing.
std::optional<stored_value> value_of(const std::wstring& path, const std::wstring& name);
// Value names of a key in the order they were first set.
std::vector<std::wstring> value_names(const std::wstring& path);
// Forgets every value and denial (the keys are the registry double's: reset it as well).
void reset_store();
// Makes open_machine_key fail, as a user without rights on the key would see it.
void deny_access(const std::wstring& path, bool deny);
#endif

}  // namespace zu::registry_layer
