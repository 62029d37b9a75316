#include "payload/windows_path.hpp"

#include "support/wide_path.hpp"

namespace zu {
namespace {

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t upper_ascii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// Windows opens a device, not a file, for these names in any folder and with any extension:
// the part before the first dot, blanks at its end ignored, is what it looks at.
bool is_device_name(const std::wstring& name) {
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = upper_ascii(c);
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" || stem == L"CONIN$" ||
        stem == L"CONOUT$")
        return true;
    if (stem.size() != 4 || (stem.compare(0, 3, L"COM") != 0 && stem.compare(0, 3, L"LPT") != 0)) return false;
    const wchar_t digit = stem[3];
    // The superscript digits count as port numbers too.
    return (digit >= L'1' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

}  // namespace

std::vector<std::wstring> split_path_elements(const std::wstring& path) {
    std::vector<std::wstring> elements;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || is_separator(path[i])) {
            if (i > begin) elements.push_back(path.substr(begin, i - begin));
            begin = i + 1;
        }
    }
    return elements;
}

void append_path_element(std::wstring& base, const std::wstring& element) {
    if (!base.empty() && !is_separator(base.back())) base += kPathSeparator;
    base += element;
}

std::wstring file_name_of(const std::wstring& path) {
    std::size_t i = path.size();
    while (i > 0 && !is_separator(path[i - 1])) --i;
    return path.substr(i);
}

bool is_valid_file_name(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    // The file system drops trailing dots and blanks: the file written would not be the one named.
    if (name.back() == L'.' || name.back() == L' ') return false;
    if (is_device_name(name)) return false;
    for (wchar_t c : name) {
        if (static_cast<std::uint32_t>(c) < 0x20) return false;
        switch (c) {
        case L'<': case L'>': case L':': case L'"': case L'/': case L'\\': case L'|': case L'?': case L'*':
            return false;
        default:
            break;
        }
    }
    return true;
}

}  // namespace zu
