// The streaming reader of the payload archive: a Boost.Iostreams sink fed with the
// decompressed archive. It buffers the header alone; file data goes straight to the
// destination files, each of which is read back once to check its CRC-32.
//
// Contract:
// - write() consumes at most up to the next boundary (end of the size field, end of the
//   header, end of the current entry); the caller offers the rest again. Failures are thrown:
//   std::system_error with a compress code, file-system errors, stream failures.
// - Once a write() has thrown, the reader is broken: later calls swallow their bytes, so that
//   flushing while the failure unwinds raises nothing more.
// - Entries of size zero need no data: they are created, verified and notified as soon as the
//   entry before them (or the header) is complete.
// - A successful write() leaves the C runtime's error indicators clear, so that a failure of
//   the decompressor between two writes is not taken for a system error of an earlier call.
// - Files written before a failure, and the one being written, stay on disk.
#pragma once

#include <boost/iostreams/categories.hpp>

#include <cstdint>
#include <ios>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "payload/destination_roots.hpp"
#include "payload/notification.hpp"
#include "payload/payload_entry.hpp"
#include "payload/special_folders.hpp"
#include "support/memstream.hpp"

namespace zu {

class payload_extractor {
public:
    using char_type = char;
    using category = boost::iostreams::sink_tag;

    // An empty handler is never called; every answer then counts as proceed.
    payload_extractor(destination_roots roots, notification_handler handler, special_folders folders = {});

    std::streamsize write(const char* data, std::streamsize n);

    // The destination folder with its macro resolved (raises unexpected for a missing folder).
    std::wstring expand(const std::wstring& folder) const;

    const std::vector<payload_entry>& entries() const noexcept { return entries_; }
    std::uint64_t header_size() const noexcept { return header_size_; }
    std::uint64_t position() const noexcept { return position_; }
    std::uint64_t total() const noexcept { return total_; }
    bool broken() const noexcept { return broken_; }
    // The entry between its begin_entry and its end (null outside an entry).
    const payload_entry* started_entry() const noexcept;

private:
    std::streamsize write_header(const char* data, std::streamsize n);
    std::streamsize write_entry(const char* data, std::streamsize n);
    void parse_header();
    void begin_entry(payload_entry& entry);
    void complete_entry(payload_entry& entry);
    void write_pending();
    void complete_empty_entries();
    void open_destination(const payload_entry& entry);
    notification::result notify(notification::alternatives value) const;

    destination_roots roots_;
    special_folders folders_;
    std::vector<payload_entry> entries_;
    std::uint64_t header_size_ = 0;
    std::uint64_t position_ = 0;
    std::uint64_t total_ = 0;
    std::unique_ptr<std::ostream> output_;  // the header buffer, then the open destination file
    memstream* header_ = nullptr;           // output_ during the header phase
    std::vector<char> pending_;             // bytes of the started entry not yet written
    notification_handler handler_;
    std::uint32_t index_ = 0;  // 0: header; k: entry k - 1
    bool started_ = false;
    std::uint64_t remaining_ = 0;
    bool skip_ = false;
    bool broken_ = false;
};

// The CRC-32 of a file, read back in 4096-byte blocks. Raises a stream failure when the file
// cannot be opened or read to its end, or when the C runtime recorded an error meanwhile.
std::uint32_t file_crc32(const std::wstring& path);

}  // namespace zu
