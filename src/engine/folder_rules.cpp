#include "engine/folder_rules.hpp"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace zu {
namespace {

struct SplitPath {
    std::wstring root;  // "C:\", "\\server\share\", "\" or empty for a relative path
    std::vector<std::wstring> parts;
};

bool is_drive_prefix(const std::wstring& p) { return p.size() >= 2 && p[1] == L':' && std::iswalpha(p[0]); }

SplitPath split(const std::wstring& path) {
    SplitPath s;
    std::size_t pos = 0;
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
        // A UNC root takes the server and share components with it.
        std::size_t server = path.find(L'\\', 2);
        std::size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        pos = share == std::wstring::npos ? path.size() : share + 1;
        s.root = path.substr(0, pos);
        if (s.root.back() != L'\\') s.root += L'\\';
    } else if (is_drive_prefix(path)) {
        s.root = path.substr(0, 2) + L"\\";
        pos = path.size() > 2 && path[2] == L'\\' ? 3 : 2;
    } else if (!path.empty() && path[0] == L'\\') {
        s.root = L"\\";
        pos = 1;
    }
    while (pos <= path.size()) {
        std::size_t end = path.find(L'\\', pos);
        if (end == std::wstring::npos) end = path.size();
        if (end > pos) s.parts.push_back(path.substr(pos, end - pos));
        pos = end + 1;
    }
    return s;
}

std::wstring join(const std::wstring& root, const std::vector<std::wstring>& parts) {
    std::wstring out = root;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += L'\\';
        out += parts[i];
    }
    return out;
}

bool same_component(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

std::wstring append_component(std::wstring path, const std::wstring& component) {
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path + component;
}

}  // namespace

bool IsValidPathChar(wchar_t c) {
    if (c < 0x20) return false;
    switch (c) {
    case L'"': case L'<': case L'>': case L'|': case L'*': case L'?':
        return false;
    default:
        return true;
    }
}

bool IsValidPathText(const std::wstring& text) { return std::all_of(text.begin(), text.end(), IsValidPathChar); }

std::wstring CanonicalPath(const std::wstring& path) {
    SplitPath s = split(path);
    std::vector<std::wstring> parts;
    for (const std::wstring& part : s.parts) {
        if (part == L".") continue;
        if (part == L"..") {
            if (!parts.empty() && parts.back() != L"..") {
                parts.pop_back();
            } else if (s.root.empty()) {
                parts.push_back(part);  // a relative text keeps the steps it cannot resolve
            }
            continue;
        }
        parts.push_back(part);
    }
    return join(s.root, parts);
}

std::wstring RelativeFolder(const std::wstring& from, const std::wstring& to) {
    const SplitPath a = split(CanonicalPath(from));
    const SplitPath b = split(CanonicalPath(to));
    if (a.root.empty() || !same_component(a.root, b.root)) return to;
    std::size_t common = 0;
    while (common < a.parts.size() && common < b.parts.size() && same_component(a.parts[common], b.parts[common])) {
        ++common;
    }
    std::vector<std::wstring> parts(a.parts.size() - common, L"..");
    parts.insert(parts.end(), b.parts.begin() + static_cast<std::ptrdiff_t>(common), b.parts.end());
    return join(L"", parts);
}

std::wstring CombinePath(const std::wstring& root, const std::wstring& text) {
    if (text.empty()) return CanonicalPath(root);
    const SplitPath t = split(text);
    if (t.root.size() > 1) return CanonicalPath(text);  // drive or UNC: absolute
    if (t.root == L"\\") return CanonicalPath(split(root).root + text.substr(1));
    return CanonicalPath(append_component(root, text));
}

std::wstring ProposeSubFolder(const std::wstring& path, const std::wstring& subFolder, const std::wstring& rootParent) {
    std::wstring result = path;
    const std::vector<std::wstring> p = split(path).parts;
    const std::vector<std::wstring> s = split(subFolder).parts;
    if (!s.empty()) {
        std::size_t trailing = 0;
        while (trailing < s.size() && trailing < p.size() &&
               same_component(p[p.size() - 1 - trailing], s[s.size() - 1 - trailing])) {
            ++trailing;
        }
        if (!(trailing == s.size() && p.size() > s.size())) {
            // The longest leading part of s that path already ends with stays; the rest is added.
            std::size_t kept = 0;
            for (std::size_t lead = s.size() - 1; lead >= 1 && kept == 0; --lead) {
                if (lead > p.size()) continue;
                bool ends = true;
                for (std::size_t i = 0; i < lead && ends; ++i) ends = same_component(p[p.size() - lead + i], s[i]);
                if (ends) kept = lead;
            }
            for (std::size_t i = kept; i < s.size(); ++i) result = append_component(result, s[i]);
        }
    }
    if (!rootParent.empty()) result = RelativeFolder(rootParent, result);
    return result;
}

std::uint32_t QualifyAgainst(const std::wstring& text, const std::wstring& base, std::wstring& qualified) {
    qualified = CombinePath(base, text);
    return qualified.size() < kPathBuffer ? 0 : kErrorBadPathname;
}

TypedPathResult ValidateTypedPath(const std::wstring& typed, const TypedPathContext& context) {
    TypedPathResult result;
    if (typed.size() >= kPathBuffer) {
        result.error = kErrorFilenameTooLong;
        return result;
    }
    std::wstring text = typed;
    const std::size_t first = text.find_first_not_of(L' ');
    text = first == std::wstring::npos ? std::wstring() : text.substr(first, text.find_last_not_of(L' ') - first + 1);
    // A root keeps its backslash.
    if (text.size() > 1 && text.back() == L'\\' && !(text.size() == 3 && text[1] == L':')) text.pop_back();
    if (text.size() == 2 && text[1] == L':') text += L'\\';
    if (text.empty()) {
        if (context.currentDirectoryError != 0) {
            result.error = context.currentDirectoryError;
            return result;
        }
        text = context.currentDirectory;
    }
    const std::wstring& base = context.rootParent.empty() ? context.currentDirectory : context.rootParent;
    std::wstring qualified;
    if (std::uint32_t error = context.qualify(text, base, qualified); error != 0) {
        result.error = error;
        return result;
    }
    bool inside = true;
    if (!context.rootParent.empty()) {
        // Inside means every component of rootParent starts the qualified path.
        const SplitPath r = split(CanonicalPath(context.rootParent));
        const SplitPath q = split(qualified);
        inside = same_component(r.root, q.root) && r.parts.size() <= q.parts.size();
        for (std::size_t i = 0; inside && i < r.parts.size(); ++i) inside = same_component(r.parts[i], q.parts[i]);
    }
    if (!inside || !IsValidPathText(qualified)) {
        result.error = kErrorBadPathname;
        return result;
    }
    result.path = qualified;
    return result;
}

}  // namespace zu
