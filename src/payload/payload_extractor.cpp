#include "payload/payload_extractor.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "payload/compress_error.hpp"
#include "payload/destination_macros.hpp"
#include "payload/payload_header.hpp"
#include "payload/runtime_errors.hpp"
#include "payload/windows_path.hpp"
#include "support/crc32.hpp"
#include "support/wide_path.hpp"

namespace fs = std::filesystem;

namespace zu {
namespace {

constexpr std::size_t kReadBackBlock = 4096;
constexpr int kMaxLinkDepth = 32;

// Files are written and read back in transfers much larger than the pieces that come and go,
// so that the system sees a few large calls instead of one per piece (under Wine every call
// costs). Writes are gathered by the extractor (the standard file stream passes pieces of a
// kilobyte and more straight through); reads go through a stream buffer of the same size.
constexpr std::size_t kFileTransfer = 64 * 1024;

struct read_buffer {
    std::unique_ptr<char[]> bytes{new char[kFileTransfer]};
};

// The buffer is a base before the stream, so that it outlives the stream.
class buffered_input_file : private read_buffer, public std::ifstream {
public:
    explicit buffered_input_file(const fs::path& path) {
        rdbuf()->pubsetbuf(bytes.get(), static_cast<std::streamsize>(kFileTransfer));
        open(path, std::ios_base::binary);
    }
};

// Makes an existing destination writable: a read-only file (the read-only attribute on
// Windows) must not stop a reinstallation. Links are followed to the file they name.
void make_writable(const fs::path& path, int depth) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec) return;
    if (fs::is_regular_file(status)) {
        fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::add, ec);
    } else if (fs::is_symlink(status) && depth < kMaxLinkDepth) {
        fs::path target = fs::read_symlink(path, ec);
        if (ec) return;
        if (target.is_relative()) target = path.parent_path() / target;
        make_writable(target, depth + 1);
    }
}

[[noreturn]] void interrupted() { throw_compress_error(compress_errc::interrupted); }

}  // namespace

payload_extractor::payload_extractor(destination_roots roots, notification_handler handler, special_folders folders)
    : roots_(std::move(roots)), folders_(std::move(folders)), handler_(std::move(handler)) {
    auto header = std::make_unique<memstream>();
    // A buffer that cannot grow must fail loudly, not drop bytes.
    header->exceptions(std::ios_base::badbit | std::ios_base::failbit);
    header_ = header.get();
    output_ = std::move(header);
}

const payload_entry* payload_extractor::started_entry() const noexcept {
    return started_ && index_ >= 1 && index_ - 1 < entries_.size() ? &entries_[index_ - 1] : nullptr;
}

std::wstring payload_extractor::expand(const std::wstring& folder) const {
    return expand_destination(folder, roots_, folders_);
}

notification::result payload_extractor::notify(notification::alternatives value) const {
    if (!handler_) return notification::result::proceed;
    return handler_(notification{std::move(value)});
}

std::streamsize payload_extractor::write(const char* data, std::streamsize n) {
    if (broken_) return n;
    try {
        std::streamsize taken = index_ == 0 ? write_header(data, n) : write_entry(data, n);
        clear_runtime_errors();
        return taken;
    } catch (...) {
        broken_ = true;
        throw;
    }
}

std::streamsize payload_extractor::write_header(const char* data, std::streamsize n) {
    const std::uint64_t buffered = header_->size();
    const std::uint64_t wanted = buffered < kHeaderSizeFieldLength ? kHeaderSizeFieldLength : header_size_;
    const std::streamsize take =
        static_cast<std::streamsize>(std::min<std::uint64_t>(wanted - buffered, static_cast<std::uint64_t>(n)));
    header_->write(data, take);
    const std::uint64_t now = buffered + static_cast<std::uint64_t>(take);
    if (buffered < kHeaderSizeFieldLength) {
        if (now == kHeaderSizeFieldLength) {
            header_size_ = read_le64(reinterpret_cast<const unsigned char*>(header_->data()));
            // Checked before a byte more is buffered: the size decides how much memory is used.
            check_header_size(header_size_);
        }
    } else if (now == header_size_) {
        parse_header();
    }
    return take;
}

void payload_extractor::parse_header() {
    std::vector<payload_entry> entries =
        parse_payload_entries(reinterpret_cast<const unsigned char*>(header_->data()), header_size_);
    // Every destination is resolved before the first file is written.
    for (payload_entry& e : entries) {
        std::wstring path = expand(e.destination);
        append_path_element(path, file_name_of(e.source));
        e.destination = std::move(path);
    }
    total_ = archive_length(header_size_, entries);
    position_ = header_size_;
    entries_ = std::move(entries);
    header_ = nullptr;
    output_.reset();
    if (notify(notification::progress{position_, total_}) == notification::result::abort) interrupted();
    index_ = 1;
    complete_empty_entries();
}

std::streamsize payload_extractor::write_entry(const char* data, std::streamsize n) {
    if (index_ - 1 >= entries_.size()) throw_compress_error(compress_errc::unexpected);
    payload_entry& entry = entries_[index_ - 1];
    if (!started_) begin_entry(entry);

    const std::streamsize take =
        static_cast<std::streamsize>(std::min<std::uint64_t>(static_cast<std::uint64_t>(n), remaining_));
    if (!skip_) {
        pending_.insert(pending_.end(), data, data + take);
        if (pending_.size() >= kFileTransfer) write_pending();
    }
    remaining_ -= static_cast<std::uint64_t>(take);
    position_ += static_cast<std::uint64_t>(take);
    if (notify(notification::progress{position_, total_}) == notification::result::abort) interrupted();

    if (remaining_ == 0) {
        complete_entry(entry);
        complete_empty_entries();
    }
    return take;
}

void payload_extractor::begin_entry(payload_entry& entry) {
    const notification::result answer = notify(notification::begin_entry{entry});
    if (answer == notification::result::abort) interrupted();
    remaining_ = entry.size;
    started_ = true;
    skip_ = answer == notification::result::skip;
    if (!skip_) open_destination(entry);
}

void payload_extractor::write_pending() {
    if (pending_.empty()) return;
    output_->write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    pending_.clear();
}

void payload_extractor::complete_entry(payload_entry& entry) {
    if (!skip_) {
        // Writing the rest and flushing raise a write failure with its system error; a failure
        // of the closing itself shows up as a wrong checksum or a failed read-back.
        write_pending();
        output_->flush();
        output_.reset();
        if (file_crc32(entry.destination) != entry.crc) throw_compress_error(compress_errc::invalid_checksum);
        if (notify(notification::end_entry{entry}) == notification::result::abort) interrupted();
    }
    started_ = false;
    skip_ = false;
    ++index_;
}

void payload_extractor::complete_empty_entries() {
    while (index_ - 1 < entries_.size() && entries_[index_ - 1].size == 0) {
        payload_entry& entry = entries_[index_ - 1];
        begin_entry(entry);
        complete_entry(entry);
    }
}

void payload_extractor::open_destination(const payload_entry& entry) {
    const fs::path path = to_path(entry.destination);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!ec && status.type() != fs::file_type::not_found) {
        make_writable(path, 0);
    } else if (path.has_parent_path()) {
        const fs::path parent = path.parent_path();
        if (!fs::exists(parent, ec)) fs::create_directories(parent);
    }
    auto file = std::make_unique<std::ofstream>(path, std::ios_base::binary | std::ios_base::out | std::ios_base::trunc);
    // A failed open raises here and now.
    file->exceptions(std::ios_base::badbit | std::ios_base::failbit);
    output_ = std::move(file);
}

std::uint32_t file_crc32(const std::wstring& path) {
    clear_runtime_errors();
    buffered_input_file in(to_path(path));
    char block[kReadBackBlock];
    std::uint32_t reg = kCrc32Initial;
    while (in) {
        in.read(block, sizeof block);
        reg = crc32_update(reg, block, static_cast<std::size_t>(in.gcount()));
    }
    if (!in.eof()) throw std::ios_base::failure("cannot read back " + to_utf8(path));
    if (runtime_os_error() != 0 || runtime_errno() != 0) throw std::ios_base::failure("error while reading back " + to_utf8(path));
    return crc32_final(reg);
}

}  // namespace zu
