#include "payload/payload_header.hpp"

#include <string>

#include "payload/compress_error.hpp"
#include "payload/windows_path.hpp"

namespace zu {
namespace {

[[noreturn]] void malformed() { throw_compress_error(compress_errc::unexpected); }

class header_cursor {
public:
    header_cursor(const unsigned char* data, std::uint64_t size) : data_(data), size_(size) {}

    std::uint64_t left() const { return size_ - at_; }

    const unsigned char* take(std::uint64_t n) {
        if (n > left()) malformed();
        const unsigned char* p = data_ + at_;
        at_ += n;
        return p;
    }
    std::uint32_t u32() { return read_le32(take(4)); }
    std::uint64_t u64() { return read_le64(take(8)); }

    std::wstring utf16(std::uint32_t units) {
        const unsigned char* p = take(std::uint64_t{units} * 2);
        std::wstring text;
        text.reserve(units);
        for (std::uint32_t i = 0; i < units; ++i) {
            std::uint32_t unit = p[2 * i] | (std::uint32_t{p[2 * i + 1]} << 8);
            if constexpr (sizeof(wchar_t) == 2) {
                text += static_cast<wchar_t>(unit);
            } else {
                // Natively paths are UTF-8: a surrogate half alone has no representation.
                if (unit >= 0xD800 && unit < 0xE000) {
                    if (unit >= 0xDC00 || i + 1 == units) malformed();
                    std::uint32_t low = p[2 * i + 2] | (std::uint32_t{p[2 * i + 3]} << 8);
                    if (low < 0xDC00 || low >= 0xE000) malformed();
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
                text += static_cast<wchar_t>(unit);
            }
        }
        return text;
    }

private:
    const unsigned char* data_;
    std::uint64_t size_;
    std::uint64_t at_ = 0;
};

// Length fields, kind, size and CRC of a record with empty strings.
constexpr std::uint64_t kMinRecordLength = 4 + 4 + 4 + 8 + 4;

}  // namespace

std::uint64_t read_le64(const unsigned char* p) noexcept {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

std::uint32_t read_le32(const unsigned char* p) noexcept {
    return p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

void check_header_size(std::uint64_t header_size) {
    if (header_size < kMinHeaderSize || header_size > kMaxHeaderSize) malformed();
}

std::vector<payload_entry> parse_payload_entries(const unsigned char* header, std::uint64_t header_size) {
    check_header_size(header_size);
    header_cursor cursor(header, header_size);
    cursor.take(kHeaderSizeFieldLength);
    const std::uint32_t count = cursor.u32();
    // A count the header cannot hold fails before anything is allocated for it.
    if (count > cursor.left() / kMinRecordLength) malformed();

    std::vector<payload_entry> entries;
    entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        payload_entry e;
        e.source = cursor.utf16(cursor.u32());
        e.destination = cursor.utf16(cursor.u32());
        e.kind = cursor.u32();
        e.size = cursor.u64();
        e.crc = cursor.u32();
        if (!is_valid_file_name(file_name_of(e.source))) malformed();
        entries.push_back(std::move(e));
    }
    if (cursor.left() != 0) malformed();
    archive_length(header_size, entries);
    return entries;
}

std::uint64_t archive_length(std::uint64_t header_size, const std::vector<payload_entry>& entries) {
    std::uint64_t total = header_size;
    for (const payload_entry& e : entries) {
        if (e.size > UINT64_MAX - total) malformed();
        total += e.size;
    }
    return total;
}

}  // namespace zu
