#include "support/crc32.hpp"

#include <array>

namespace zu {
namespace {

constexpr std::uint32_t kReflectedPolynomial = 0xEDB88320u;  // 0x04C11DB7 bit-reversed

// Table k holds the register change of a byte followed by k zero bytes, so that eight bytes
// fold in with eight look-ups ("slicing by 8"): every written file is read back through here.
using crc_tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr crc_tables make_tables() {
    crc_tables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1u) ? (c >> 1) ^ kReflectedPolynomial : c >> 1;
        t[0][i] = c;
    }
    for (std::size_t k = 1; k < 8; ++k) {
        for (std::uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFFu];
    }
    return t;
}

constexpr crc_tables kTables = make_tables();

}  // namespace

std::uint32_t crc32_update(std::uint32_t reg, const void* data, std::size_t size) noexcept {
    auto p = static_cast<const unsigned char*>(data);
    const auto& t = kTables;
    for (; size >= 8; p += 8, size -= 8) {
        const std::uint32_t lo = reg ^ (p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24));
        reg = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
              t[3][p[4]] ^ t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
    }
    for (; size > 0; ++p, --size) reg = t[0][(reg ^ *p) & 0xFFu] ^ (reg >> 8);
    return reg;
}

}  // namespace zu
