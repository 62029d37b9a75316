// CRC-32 as zlib and IEEE 802.3 define it: polynomial 0x04C11DB7, reflected, initial value and
// final XOR 0xFFFFFFFF. The register form lets a caller fold a file in block by block.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zu {

constexpr std::uint32_t kCrc32Initial = 0xFFFFFFFFu;

// Folds size bytes into a running register (start with kCrc32Initial).
std::uint32_t crc32_update(std::uint32_t reg, const void* data, std::size_t size) noexcept;

// The finished checksum of a running register.
constexpr std::uint32_t crc32_final(std::uint32_t reg) noexcept { return reg ^ 0xFFFFFFFFu; }

// The checksum of one block.
inline std::uint32_t crc32(const void* data, std::size_t size) noexcept {
    return crc32_final(crc32_update(kCrc32Initial, data, size));
}

}  // namespace zu
