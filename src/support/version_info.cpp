#include "support/version_info.hpp"

#include <cwchar>

namespace zu {

std::wstring VersionInfo::string_table_prefix(std::uint16_t language, std::uint16_t codePage) {
    wchar_t pair[16];
    std::swprintf(pair, 16, L"%04hX%04hX", language, codePage);
    return std::wstring(L"\\StringFileInfo\\") + pair;
}

std::wstring VersionInfo::build_suffixes(std::uint32_t maskedFlags) {
    constexpr std::uint32_t kPrivateBuild = 0x08, kDebug = 0x01;
    std::wstring suffixes;
    if (maskedFlags & kPrivateBuild) suffixes += L" \u2013 Private";
    if (maskedFlags & kDebug) suffixes += L" \u2013 Debug";
    return suffixes;
}

}  // namespace zu
