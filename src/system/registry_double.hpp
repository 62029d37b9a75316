// The in-memory registry behind the native build's registry operations (native only). It
// holds keys below HKEY_LOCAL_MACHINE by their full path ("Software\\...\\Mobrix 6"), each with
// string values; tests set it up and look at it, the journal saves, restores and deletes in it.
// A saved key is a real file, so that the backup files of the journal behave as on Windows.
#pragma once

#ifdef _WIN32
#error "registry_double.hpp is for the native build only"
#endif

#include <optional>
#include <string>
#include <vector>

#include "system/journal_platform.hpp"

namespace zu::registry_double {

// Forgets every key; open keys become stale (operations on them fail).
void reset();
// Creates the key and the keys above it.
void create_key(const std::wstring& path);
bool key_exists(const std::wstring& path);
void set_value(const std::wstring& path, const std::wstring& name, const std::wstring& data);
std::optional<std::wstring> value(const std::wstring& path, const std::wstring& name);
// The full paths of the key and every key below it, sorted.
std::vector<std::wstring> subtree(const std::wstring& path);

// An open key for the journal; nullptr when the key does not exist.
RegistryKey open_key(const std::wstring& path);
void close_key(RegistryKey key);
// The full path of an open key.
std::wstring key_path(RegistryKey key);

struct key_traits {
    using value_type = RegistryKey;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type key) noexcept { close_key(key); }
};
using unique_key = unique_resource<key_traits>;

}  // namespace zu::registry_double
