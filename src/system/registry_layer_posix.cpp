// Values are kept here rather than in the journal's registry double, which holds strings only;
// string values are mirrored there so that the journal's saved copy of a key carries them.
// A key deleted through the double takes its values along (they are forgotten lazily).
#include "system/registry_layer.hpp"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "system/registry_double.hpp"

namespace zu::registry_layer {
namespace {

struct Store {
    std::map<std::wstring, std::vector<std::pair<std::wstring, stored_value>>> values;
    std::set<std::wstring> denied;
};
Store& TheStore() {
    static Store store;
    return store;
}

void ForgetIfDeleted(const std::wstring& path) {
    if (!registry_double::key_exists(path)) TheStore().values.erase(path);
}

}  // namespace

void key_traits::close(value_type key) noexcept { registry_double::close_key(key); }

unique_key open_machine_key(const wchar_t* path) {
    if (TheStore().denied.count(path)) return unique_key();
    return unique_key(registry_double::open_key(path));
}

std::optional<created_key> create_subkey(RegistryKey parent, const wchar_t* name) {
    const std::wstring parentPath = registry_double::key_path(parent);
    if (!parent || !registry_double::key_exists(parentPath)) return std::nullopt;
    const std::wstring path = parentPath + L"\\" + name;
    ForgetIfDeleted(path);
    created_key made;
    made.existed = registry_double::key_exists(path);
    registry_double::create_key(path);
    made.key.reset(registry_double::open_key(path));
    return made;
}

bool set_value(RegistryKey key, const wchar_t* name, std::uint32_t type, const void* data, std::uint32_t size) {
    const std::wstring path = registry_double::key_path(key);
    if (!key || !registry_double::key_exists(path)) return false;
    ForgetIfDeleted(path);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    stored_value value{type, std::vector<std::uint8_t>(bytes, bytes + size)};
    if (type == kTypeString) {
        std::wstring text;
        for (std::uint32_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
        if (!text.empty() && text.back() == L'\0') text.pop_back();
        registry_double::set_value(path, name, text);
    }
    auto& values = TheStore().values[path];
    auto found = std::find_if(values.begin(), values.end(), [name](const auto& v) { return v.first == name; });
    if (found != values.end())
        found->second = std::move(value);
    else
        values.emplace_back(name, std::move(value));
    return true;
}

std::optional<stored_value> value_of(const std::wstring& path, const std::wstring& name) {
    ForgetIfDeleted(path);
    auto key = TheStore().values.find(path);
    if (key == TheStore().values.end()) return std::nullopt;
    for (const auto& [valueName, value] : key->second)
        if (valueName == name) return value;
    return std::nullopt;
}

std::vector<std::wstring> value_names(const std::wstring& path) {
    ForgetIfDeleted(path);
    std::vector<std::wstring> names;
    auto key = TheStore().values.find(path);
    if (key != TheStore().values.end())
        for (const auto& entry : key->second) names.push_back(entry.first);
    return names;
}

void reset_store() { TheStore() = Store(); }

void deny_access(const std::wstring& path, bool deny) {
    if (deny)
        TheStore().denied.insert(path);
    else
        TheStore().denied.erase(path);
}

}  // namespace zu::registry_layer
