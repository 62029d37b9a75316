#include "support/crc32.hpp"

#include <array>

namespace zu {
namespace {

constexpr std::uint32_t kReflectedPolynomial = 0xEDB88320u;  // 0x04C11DB7 bit-reversed

constexpr std::array<std::uint32_t, 256> make_table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1u) ? (c >> 1) ^ kReflectedPolynomial : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = make_table();

}  // namespace

std::uint32_t crc32_update(std::uint32_t reg, const void* data, std::size_t size) noexcept {
    auto p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) reg = kTable[(reg ^ p[i]) & 0xFFu] ^ (reg >> 8);
    return reg;
}

}  // namespace zu
