#include "payload/payload_header_writer.hpp"

#include <cstdint>
#include <stdexcept>

#include "payload/payload_header.hpp"

namespace zu {
namespace {

void put_le(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::u16string utf16_of(const std::wstring& text) {
    std::u16string units;
    for (wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c >= 0x10000) {
            c -= 0x10000;
            units += static_cast<char16_t>(0xD800 + (c >> 10));
            units += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            units += static_cast<char16_t>(c);
        }
    }
    return units;
}

void put_string(std::string& out, const std::wstring& text) {
    const std::u16string units = utf16_of(text);
    if (units.size() > 0xFFFFFFFFu) throw std::length_error("payload header string too long");
    put_le(out, units.size(), 4);
    for (char16_t u : units) put_le(out, u, 2);
}

}  // namespace

std::string encode_payload_header(const std::vector<payload_entry>& entries) {
    if (entries.size() > 0xFFFFFFFFu) throw std::length_error("too many payload entries");
    std::string records;
    for (const payload_entry& e : entries) {
        put_string(records, e.source);
        put_string(records, e.destination);
        put_le(records, e.kind, 4);
        put_le(records, e.size, 8);
        put_le(records, e.crc, 4);
    }
    const std::uint64_t header_size = kMinHeaderSize + records.size();
    if (header_size > kMaxHeaderSize) throw std::length_error("payload header too large");
    std::string header;
    put_le(header, header_size, 8);
    put_le(header, entries.size(), 4);
    return header + records;
}

}  // namespace zu
