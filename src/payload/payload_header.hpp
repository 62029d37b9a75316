// The archive header: its size field, entry count and entry records, little-endian, unpadded.
//
//   u64 header size H (these 8 bytes included) | u32 entry count N | N records | file data
//   record: u32 S | S UTF-16LE units source | u32 D | D units destination folder |
//           u32 kind | u64 size | u32 CRC-32
//
// The payload comes from the vendor but is read by an elevated installer, so every bound is
// checked before it is relied on: a damaged or hostile header fails with
// compress_errc::unexpected, before any file is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "payload/payload_entry.hpp"

namespace zu {

constexpr std::uint64_t kHeaderSizeFieldLength = 8;
constexpr std::uint64_t kMinHeaderSize = 12;                 // size field and entry count
constexpr std::uint64_t kMaxHeaderSize = 64ull * 1024 * 1024;  // far above any real product's

std::uint64_t read_le64(const unsigned char* p) noexcept;
std::uint32_t read_le32(const unsigned char* p) noexcept;

// Raises unexpected for a header size outside [kMinHeaderSize, kMaxHeaderSize].
void check_header_size(std::uint64_t header_size);

// The entries of a complete header of header_size bytes (size field included), destinations
// still as written. Raises unexpected when the records do not end exactly at header_size, a
// string runs past it, a source's file name is not a valid Windows file name, a string cannot
// be represented, or the archive length H + sizes overflows.
std::vector<payload_entry> parse_payload_entries(const unsigned char* header, std::uint64_t header_size);

// H plus the sum of the entries' sizes; raises unexpected on overflow.
std::uint64_t archive_length(std::uint64_t header_size, const std::vector<payload_entry>& entries);

}  // namespace zu
