// The version resource of an executable: which items to read, and what was read.
#pragma once

#include <cstdint>
#include <string>

namespace zu {

struct VersionInfo {
    enum Item : std::uint32_t {
        FullName = 0x01,
        ProductName = 0x02,
        ProductVersion = 0x04,
        FileDescription = 0x08,
        LegalCopyright = 0x10,
        FileVersion = 0x20,
        FileFlags = 0x40,
        AllItems = 0xFFFFFFFFu,
    };

    std::uint32_t items = AllItems;
    std::uint64_t fileVersion = 0;  // dwFileVersionMS above dwFileVersionLS
    std::uint32_t fileFlags = 0;    // dwFileFlags masked by dwFileFlagsMask
    std::wstring fullName;          // product name, a blank, product version, build suffixes
    std::wstring productName;
    std::wstring productVersion;
    std::wstring fileDescription;
    std::wstring legalCopyright;

#ifdef _WIN32
    // Reads the items asked for from the executable at path (none: the running executable).
    // False when the file has no readable version resource or translation table (the record
    // then stays as reset), or when any asked item is missing (every found item is kept).
    bool Read(const wchar_t* path = nullptr);
#endif

    // "\StringFileInfo\" followed by the translation pair as "%04hX%04hX".
    static std::wstring string_table_prefix(std::uint16_t language, std::uint16_t codePage);
    // fullName's build suffixes for the masked file flags.
    static std::wstring build_suffixes(std::uint32_t maskedFlags);
};

}  // namespace zu
