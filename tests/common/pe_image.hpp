// A minimal 64-bit Windows executable file holding one resource, for testing readers of the
// format without a Windows build at hand.
#pragma once

#include <cstdint>
#include <string>

namespace zu::test {

inline void put_at(std::string& image, std::size_t at, std::uint64_t value, int bytes) {
    if (image.size() < at + bytes) image.resize(at + bytes, '\0');
    for (int i = 0; i < bytes; ++i) image[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Offsets of the pieces, for tests that damage them.
struct pe_layout {
    static constexpr std::size_t resources = 0x200;  // file offset of the resource section
    static constexpr std::uint32_t resources_rva = 0x1000;
    static constexpr std::size_t type_entry = resources + 16;
    static constexpr std::size_t data_entry = resources + 0x48;
    static constexpr std::size_t bytes = resources + 0x58;
};

inline std::string pe_with_resource(std::uint32_t type, std::uint32_t name, const std::string& bytes) {
    std::string image;
    const std::uint32_t section_size = static_cast<std::uint32_t>(0x58 + bytes.size());
    image += "MZ";
    put_at(image, 0x3C, 0x40, 4);
    image.resize(0x40);
    image += std::string("PE\0\0", 4);
    put_at(image, 0x44, 0x8664, 2);  // x86-64
    put_at(image, 0x46, 1, 2);       // one section
    put_at(image, 0x54, 240, 2);     // optional header of PE32+ with 16 directories
    put_at(image, 0x56, 0x22, 2);
    put_at(image, 0x58, 0x20B, 2);
    put_at(image, 0x58 + 108, 16, 4);
    put_at(image, 0x58 + 112 + 2 * 8, pe_layout::resources_rva, 4);
    put_at(image, 0x58 + 112 + 2 * 8 + 4, section_size, 4);
    const std::size_t section = 0x58 + 240;
    image.resize(section);
    image += std::string(".rsrc\0\0\0", 8);
    put_at(image, section + 8, section_size, 4);
    put_at(image, section + 12, pe_layout::resources_rva, 4);
    put_at(image, section + 16, section_size, 4);
    put_at(image, section + 20, pe_layout::resources, 4);
    image.resize(pe_layout::resources, '\0');
    // type directory -> name directory -> language directory -> data entry -> bytes
    const std::size_t r = pe_layout::resources;
    put_at(image, r + 14, 1, 2);
    put_at(image, r + 16, type, 4);
    put_at(image, r + 20, 0x80000000u | 0x18, 4);
    put_at(image, r + 0x18 + 14, 1, 2);
    put_at(image, r + 0x18 + 16, name, 4);
    put_at(image, r + 0x18 + 20, 0x80000000u | 0x30, 4);
    put_at(image, r + 0x30 + 14, 1, 2);
    put_at(image, r + 0x30 + 16, 1033, 4);
    put_at(image, r + 0x30 + 20, 0x48, 4);
    put_at(image, r + 0x48, pe_layout::resources_rva + 0x58, 4);
    put_at(image, r + 0x48 + 4, bytes.size(), 4);
    image.resize(pe_layout::bytes, '\0');
    return image + bytes;
}

}  // namespace zu::test
