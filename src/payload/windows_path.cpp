#include "payload/windows_path.hpp"

#include "support/wide_path.hpp"

namespace zu {
namespace {

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

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
