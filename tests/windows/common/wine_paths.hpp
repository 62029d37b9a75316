// Paths of the build tree as the Windows programs under test see them.
#pragma once

#include <string>

namespace zu_test {

// Wine shows the Unix root as drive Z:.
inline std::wstring windows_path_of(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c) path += (*c == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return path;
}

}  // namespace zu_test
