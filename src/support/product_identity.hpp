// The fixed names and version of the product this installer carries.
#pragma once

#include <cstdint>

namespace zu {

struct ProductIdentity {
    static constexpr const wchar_t* productName = L"Mobrix";
    static constexpr const wchar_t* versionText = L"6.05h";
    static constexpr const wchar_t* fullName = L"Mobrix 6.05h";  // productName, a blank, versionText
    // Not derived from productName: it has a blank before the 6, objectNameStem has none.
    static constexpr const wchar_t* displayName = L"Mobrix 6";
    static constexpr const wchar_t* publisherFolder = L"Quillon";
    static constexpr std::uint16_t versionNumber[4] = {6, 5, 8, 1};
    static constexpr std::uint64_t packedVersion = 0x0006000500080001ull;
    static constexpr const wchar_t* versionString = L"6.5.8.1";
    static constexpr const wchar_t* objectNameStem = L"Mobrix6";

    // Registry key (below HKEY_LOCAL_MACHINE) of the product's uninstall entry.
    static constexpr const wchar_t* uninstallKey =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mobrix 6";
};

constexpr std::uint64_t pack_version(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    return (std::uint64_t{a} << 48) | (std::uint64_t{b} << 32) | (std::uint64_t{c} << 16) | std::uint64_t{d};
}
static_assert(pack_version(6, 5, 8, 1) == ProductIdentity::packedVersion);

}  // namespace zu
