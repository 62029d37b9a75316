#include "payload/compress_error.hpp"
#include "payload/extract_payload.hpp"
#include "payload/payload_extractor.hpp"
#include "payload/payload_header.hpp"

#include <gtest/gtest.h>

#include <boost/system/system_error.hpp>

#include "common/payload_archive.hpp"

namespace fs = std::filesystem;
using namespace zu::test;

namespace {

std::string le(std::uint64_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

std::string utf16(const std::string& ascii) {
    std::string s = le(ascii.size(), 4);
    for (char c : ascii) s += std::string{c, '\0'};
    return s;
}

// An entry of `size` bytes whose checksum is that of as many 'x' (the data the cases append).
std::string record(const std::string& source, const std::string& folder, std::uint64_t size) {
    const std::string data(size < 16 ? size : 0, 'x');
    const std::uint32_t crc = zu::crc32(data.data(), data.size());
    return utf16(source) + utf16(folder) + le(0, 4) + le(size, 8) + le(crc, 4);
}

std::string header(std::uint32_t count, const std::string& records, std::int64_t size_adjust = 0) {
    return le(12 + records.size() + size_adjust, 8) + le(count, 4) + records;
}

// Feeds the whole archive to a reader the way the decompressor does, and returns the code it
// fails with (or a default code when it succeeds) and whether anything was written.
struct outcome {
    std::error_code code;
    bool wrote_anything;
    bool began_any;
};

outcome feed(const std::string& archive) {
    temp_folder dir;
    recorder r;
    zu::payload_extractor reader({dir / L"install", L"", L""}, r.handler());
    outcome o{};
    try {
        std::size_t at = 0;
        while (at < archive.size()) {
            std::streamsize n = reader.write(archive.data() + at, static_cast<std::streamsize>(archive.size() - at));
            if (n <= 0) throw std::logic_error("the reader took nothing");
            at += static_cast<std::size_t>(n);
        }
        if (reader.position() != reader.total() || reader.total() == 0) o.code = zu::compress_errc::unexpected;
    } catch (const std::exception& e) {
        o.code = zu::error_code_of(e);
    }
    o.wrote_anything = fs::exists(dir.path() / "install");
    o.began_any = !r.only(begin_tag).empty();
    return o;
}

}  // namespace

TEST(PayloadExtractor, NeverCrossesABoundaryInOneWrite) {
    temp_folder dir;
    const std::vector<archive_file> files = {{L"a", L"<InstallPath>", "alpha"}, {L"b", L"<InstallPath>", "be"}};
    const std::string raw = raw_archive(files);
    const std::size_t h = raw.size() - 7;
    zu::payload_extractor reader({dir.wide(), L"", L""}, {});
    std::vector<std::streamsize> taken;
    for (std::size_t at = 0; at < raw.size();) {
        taken.push_back(reader.write(raw.data() + at, static_cast<std::streamsize>(raw.size() - at)));
        at += static_cast<std::size_t>(taken.back());
    }
    EXPECT_EQ(taken, (std::vector<std::streamsize>{8, static_cast<std::streamsize>(h - 8), 5, 2}));
    EXPECT_EQ(reader.header_size(), h);
    EXPECT_EQ(reader.position(), reader.total());
    EXPECT_EQ(read_file(dir.path() / "b"), "be");
}

TEST(PayloadExtractor, BrokenReaderSwallowsWhatFollows) {
    temp_folder dir;
    const std::string raw = raw_archive({{L"a", L"<InstallPath>", "alpha"}}) + "extra";
    zu::payload_extractor reader({dir.wide(), L"", L""}, {});
    std::size_t at = 0;
    EXPECT_THROW(
        for (;;) at += static_cast<std::size_t>(reader.write(raw.data() + at, static_cast<std::streamsize>(raw.size() - at))),
        std::system_error);
    EXPECT_TRUE(reader.broken());
    EXPECT_EQ(reader.write("0123456789", 10), 10);
    EXPECT_EQ(reader.write("more", 4), 4);
}

TEST(PayloadExtractor, MalformedHeadersFailBeforeAnythingIsWritten) {
    const std::string good = record("C:\\src\\ok.bin", "<InstallPath>", 1);
    struct { const char* what; std::string archive; } cases[] = {
        {"header size below 12", le(11, 8) + le(0, 4)},
        {"header size 0", le(0, 8) + "xxxx"},
        {"header size above the bound", le(zu::kMaxHeaderSize + 1, 8) + le(0, 4)},
        {"header size of 2^64-1", le(~0ull, 8)},
        {"records end before the header size", header(1, good, +1) + "\0" "x"},
        {"records run past the header size", header(1, good, -1) + "x"},
        {"count larger than the records", header(2, good) + "x"},
        {"count impossible for the size", header(0xFFFFFFFFu, good) + "x"},
        {"source length past the header", header(1, le(0x7FFFFFFF, 4) + good.substr(4)) + "x"},
        {"folder length past the header", header(1, utf16("ok") + le(0xFFFFFFFF, 4) + le(0, 16)) + "x"},
        {"empty file name", header(1, record("C:\\dir\\", "<InstallPath>", 1)) + "x"},
        {"empty source", header(1, record("", "<InstallPath>", 1)) + "x"},
        {"dot", header(1, record("C:\\dir\\.", "<InstallPath>", 1)) + "x"},
        {"dot dot", header(1, record("..", "<InstallPath>", 1)) + "x"},
        {"drive only", header(1, record("C:", "<InstallPath>", 1)) + "x"},
        {"colon in the name", header(1, record("a:b", "<InstallPath>", 1)) + "x"},
        {"wildcard", header(1, record("a*.dll", "<InstallPath>", 1)) + "x"},
        {"pipe", header(1, record("a|b", "<InstallPath>", 1)) + "x"},
        {"control character", header(1, record(std::string("a\tb"), "<InstallPath>", 1)) + "x"},
        {"device name", header(1, record("C:\\dir\\NUL", "<InstallPath>", 1)) + "x"},
        {"device name in lower case", header(1, record("nul", "<InstallPath>", 1)) + "x"},
        {"device name with an extension", header(1, record("COM1.txt", "<InstallPath>", 1)) + "x"},
        {"device name, blank before the extension", header(1, record("lpt9 .log", "<InstallPath>", 1)) + "x"},
        {"console device", header(1, record("CON", "<InstallPath>", 1)) + "x"},
        {"trailing dot", header(1, record("x.", "<InstallPath>", 1)) + "x"},
        {"trailing blank", header(1, record("x ", "<InstallPath>", 1)) + "x"},
        {"sizes overflow", header(2, record("a", "<InstallPath>", ~0ull - 20) + record("b", "<InstallPath>", 100)) + "x"},
        {"lone surrogate", le(12 + 4 + 2 + 4 + 20, 8) + le(1, 4) + le(1, 4) + "\x00\xD8" + le(0, 4) + le(0, 4) + le(1, 8) + le(0, 4) + "x"},
    };
    for (const auto& c : cases) {
        const outcome o = feed(c.archive);
        EXPECT_EQ(o.code, zu::compress_errc::unexpected) << c.what << ": " << o.code.message();
        EXPECT_FALSE(o.wrote_anything) << c.what;
        EXPECT_FALSE(o.began_any) << c.what;
    }
    // The well-formed neighbours of those cases pass.
    EXPECT_EQ(feed(header(1, good) + "x").code, std::error_code()) << "one entry";
    EXPECT_EQ(feed(header(0, "")).code, std::error_code()) << "no entry at all";
    EXPECT_EQ(feed(header(1, record("C:\\dir\\name with blanks.txt", "<InstallPath>", 1)) + "x").code, std::error_code());
    for (const char* name : {"COM10.txt", "COM0", "LPT", "nullable.dll", "auxiliary", "CONSOLE.txt", ".profile"})
        EXPECT_EQ(feed(header(1, record(name, "<InstallPath>", 1)) + "x").code, std::error_code()) << name;
}

TEST(PayloadExtractor, ErrorMappingFirstMatchWins) {
    errno = 0;
    struct { const char* what; std::function<void()> raise; std::error_code expected; } cases[] = {
        {"stream failure with errno", [] { errno = EACCES; throw std::ios_base::failure("x"); }, {EACCES, std::generic_category()}},
        {"stream failure without errno", [] { errno = 0; throw std::ios_base::failure("x"); }, std::make_error_code(std::io_errc::stream)},
        {"bzip2 error with errno pending", [] { errno = ENOSPC; throw boost::iostreams::bzip2_error(-4); }, {ENOSPC, std::generic_category()}},
        {"bzip2 error", [] { errno = 0; throw boost::iostreams::bzip2_error(-4); }, zu::compress_errc::bzip2_failure},
        {"system error", [] { throw std::system_error(ENOENT, std::system_category()); }, {ENOENT, std::system_category()}},
        {"boost generic", [] { throw boost::system::system_error(EEXIST, boost::system::generic_category()); }, {EEXIST, std::generic_category()}},
        {"boost system", [] { throw boost::system::system_error(5, boost::system::system_category()); }, {5, std::system_category()}},
        {"out of memory", [] { throw std::bad_alloc(); }, zu::compress_errc::unexpected},
        {"anything else", [] { throw std::runtime_error("x"); }, zu::compress_errc::unexpected},
    };
    for (const auto& c : cases) {
        try {
            c.raise();
        } catch (const std::exception& e) {
            EXPECT_EQ(zu::error_code_of(e), c.expected) << c.what;
        }
    }
    errno = 0;
}
