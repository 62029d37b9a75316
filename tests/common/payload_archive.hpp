// Building payload archives in tests, and recording what the reader tells its handler.
#pragma once

#include <boost/iostreams/copy.hpp>
#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_stream.hpp>
#include <boost/iostreams/device/back_inserter.hpp>

#include <cstdint>
#include <fstream>
#include <functional>
#include <type_traits>
#include <variant>
#include <filesystem>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "payload/notification.hpp"
#include "payload/payload_entry.hpp"
#include "payload/payload_header_writer.hpp"
#include "support/crc32.hpp"
#include "support/wide_path.hpp"

namespace zu::test {

struct archive_file {
    std::wstring source;
    std::wstring folder;
    std::string content;
    std::uint32_t kind = 0;
};

inline std::vector<payload_entry> entries_of(const std::vector<archive_file>& files) {
    std::vector<payload_entry> entries;
    for (const archive_file& f : files) {
        entries.push_back({f.source, f.folder, f.kind, f.content.size(), crc32(f.content.data(), f.content.size())});
    }
    return entries;
}

// The decompressed archive: header, then every file's bytes.
inline std::string raw_archive(const std::vector<archive_file>& files) {
    std::string archive = encode_payload_header(entries_of(files));
    for (const archive_file& f : files) archive += f.content;
    return archive;
}

inline std::string bzip2(const std::string& data) {
    std::string out;
    boost::iostreams::filtering_ostream compressor;
    compressor.push(boost::iostreams::bzip2_compressor(boost::iostreams::bzip2_params(9)));
    compressor.push(boost::iostreams::back_inserter(out));
    compressor.write(data.data(), static_cast<std::streamsize>(data.size()));
    compressor.reset();
    return out;
}

// Bytes that compress a little, like real files do.
inline std::string pattern_bytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(random() % 17 + 'a');
    return bytes;
}

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A notification as plain values, for comparing sequences.
struct heard {
    explicit heard(std::size_t t, std::wstring p = {}, std::uint64_t first = 0, std::uint64_t second = 0)
        : tag(t), path(std::move(p)), a(first), b(second) {}

    std::size_t tag;
    std::wstring path;          // begin_entry, end_entry: the destination; error: the path
    std::uint64_t a = 0, b = 0;  // finish: consumed, total; progress: position, total
    std::error_code code;       // error

    bool operator==(const heard& o) const { return tag == o.tag && path == o.path && a == o.a && b == o.b && code == o.code; }
};

enum tag : std::size_t { start_tag, finish_tag, begin_tag, end_tag, progress_tag, error_tag };

class recorder {
public:
    using rule = std::function<notification::result(const heard&)>;

    explicit recorder(rule answer = {}) : answer_(std::move(answer)) {}

    notification_handler handler() {
        return [this](const notification& n) { return hear(n); };
    }

    std::vector<heard> log;

    std::vector<heard> only(std::size_t t) const {
        std::vector<heard> picked;
        for (const heard& h : log) if (h.tag == t) picked.push_back(h);
        return picked;
    }
    std::vector<std::size_t> tags() const {
        std::vector<std::size_t> t;
        for (const heard& h : log) t.push_back(h.tag);
        return t;
    }
    const heard& last() const { return log.back(); }

private:
    notification::result hear(const notification& n) {
        heard h(n.tag());
        std::visit(
            [&h](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, notification::finish>) { h.a = v.consumed; h.b = v.total; }
                else if constexpr (std::is_same_v<T, notification::begin_entry> || std::is_same_v<T, notification::end_entry>) h.path = v.entry.destination;
                else if constexpr (std::is_same_v<T, notification::progress>) { h.a = v.position; h.b = v.total; }
                else if constexpr (std::is_same_v<T, notification::error>) { h.code = v.code; h.path = v.path; }
            },
            n.value);
        log.push_back(h);
        return answer_ ? answer_(h) : notification::result::proceed;
    }

    rule answer_;
};

// A folder of its own for one test, removed with everything in it afterwards.
class temp_folder {
public:
    temp_folder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / ("zu-payload-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~temp_folder() {
        std::error_code ec;
        for (auto& p : std::filesystem::recursive_directory_iterator(path_, ec)) {
            std::filesystem::permissions(p.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        }
        std::filesystem::remove_all(path_, ec);
    }
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::wstring wide() const { return to_wide(path_); }
    // A path below the folder, elements joined with the platform's separator.
    std::wstring operator/(const std::wstring& rest) const {
        std::wstring p = wide();
        p += kPathSeparator;
        return p + rest;
    }

private:
    std::filesystem::path path_;
};

}  // namespace zu::test
