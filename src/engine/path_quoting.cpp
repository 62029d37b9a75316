#include "engine/path_quoting.hpp"

namespace zu {

std::wstring QuoteSpaces(const std::wstring& path) {
    std::wstring text = path.substr(0, kPathBufferLength - 1);
    if (text.find(L' ') == std::wstring::npos || text.size() + 3 >= kPathBufferLength) return text;
    return L"\"" + text + L"\"";
}

}  // namespace zu
