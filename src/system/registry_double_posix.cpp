// The native registry: a map from key path to values, saved to and restored from real files.
#include "system/registry_double.hpp"

#include <map>
#include <sstream>

#include "system/journal_platform.hpp"

namespace zu {

struct FakeRegistryKey {
    std::wstring path;
};

namespace registry_double {
namespace {

using Values = std::map<std::wstring, std::wstring>;
std::map<std::wstring, Values>& Keys() {
    static std::map<std::wstring, Values> keys;
    return keys;
}

bool IsInTree(const std::wstring& key, const std::wstring& root) {
    return key == root || (key.size() > root.size() && key.compare(0, root.size(), root) == 0 && key[root.size()] == L'\\');
}

// Saved keys hold their strings as code points in decimal, which keeps the format trivial.
void PutString(std::ostream& out, const std::wstring& s) {
    out << s.size();
    for (wchar_t c : s) out << ' ' << static_cast<std::uint32_t>(c);
    out << '\n';
}

bool GetString(std::istream& in, std::wstring& s) {
    std::size_t n = 0;
    if (!(in >> n) || n > 65536) return false;
    s.clear();
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t c = 0;
        if (!(in >> c)) return false;
        s.push_back(static_cast<wchar_t>(c));
    }
    return true;
}

}  // namespace

void reset() { Keys().clear(); }

void create_key(const std::wstring& path) {
    for (std::size_t i = path.find(L'\\'); i != std::wstring::npos; i = path.find(L'\\', i + 1)) Keys()[path.substr(0, i)];
    Keys()[path];
}

bool key_exists(const std::wstring& path) { return Keys().count(path) != 0; }

void set_value(const std::wstring& path, const std::wstring& name, const std::wstring& data) {
    create_key(path);
    Keys()[path][name] = data;
}

std::optional<std::wstring> value(const std::wstring& path, const std::wstring& name) {
    auto key = Keys().find(path);
    if (key == Keys().end()) return std::nullopt;
    auto found = key->second.find(name);
    if (found == key->second.end()) return std::nullopt;
    return found->second;
}

std::vector<std::wstring> subtree(const std::wstring& path) {
    std::vector<std::wstring> out;
    for (const auto& [key, values] : Keys())
        if (IsInTree(key, path)) out.push_back(key);
    return out;
}

RegistryKey open_key(const std::wstring& path) {
    if (!key_exists(path)) return nullptr;
    return new FakeRegistryKey{path};
}

void close_key(RegistryKey key) { delete key; }

std::wstring key_path(RegistryKey key) { return key ? key->path : std::wstring(); }

}  // namespace registry_double

namespace journal_platform {

using registry_double::Keys;

bool save_registry_key(RegistryKey key, const std::wstring& file) {
    if (!key || !registry_double::key_exists(key->path) || exists(file)) return false;
    std::ostringstream out;
    for (const auto& [path, values] : Keys()) {
        if (!registry_double::IsInTree(path, key->path)) continue;
        out << "key ";
        registry_double::PutString(out, path.substr(key->path.size()));
        for (const auto& [name, data] : values) {
            out << "value ";
            registry_double::PutString(out, name);
            registry_double::PutString(out, data);
        }
    }
    unique_file saved = create_for_writing(file);
    const std::string bytes = out.str();
    return saved && write(saved, bytes.data(), bytes.size()) && flush(saved);
}

bool restore_registry_key(const wchar_t* parent, const wchar_t* name, const std::wstring& file) {
    const std::wstring root = std::wstring(parent) + L"\\" + name;
    if (!registry_double::key_exists(parent) || !registry_double::key_exists(root)) return false;
    unique_file saved = open_for_reading(file);
    if (!saved) return false;
    std::string bytes;
    char buffer[4096];
    for (std::optional<std::size_t> got; (got = read(saved, buffer, sizeof buffer)) && *got != 0;) bytes.append(buffer, *got);
    std::istringstream stream(bytes);
    std::map<std::wstring, registry_double::Values> restored;
    std::string tag;
    std::wstring current;
    bool sawRoot = false;
    while (stream >> tag) {
        if (tag == "key") {
            std::wstring relative;
            if (!registry_double::GetString(stream, relative)) return false;
            current = root + relative;
            restored[current];
            sawRoot = sawRoot || relative.empty();
        } else if (tag == "value" && sawRoot) {
            std::wstring valueName, data;
            if (!registry_double::GetString(stream, valueName) || !registry_double::GetString(stream, data)) return false;
            restored[current][valueName] = data;
        } else {
            return false;
        }
    }
    if (!sawRoot) return false;
    for (auto it = Keys().begin(); it != Keys().end();) it = registry_double::IsInTree(it->first, root) ? Keys().erase(it) : std::next(it);
    Keys().insert(restored.begin(), restored.end());
    return true;
}

bool delete_registry_key_tree(const wchar_t* parent, const wchar_t* name) {
    const std::wstring root = std::wstring(parent) + L"\\" + name;
    if (!registry_double::key_exists(parent) || !registry_double::key_exists(root)) return false;
    for (auto it = Keys().begin(); it != Keys().end();) it = registry_double::IsInTree(it->first, root) ? Keys().erase(it) : std::next(it);
    return true;
}

}  // namespace journal_platform
}  // namespace zu
