#include "payload/compress_error.hpp"
#include "payload/destination_macros.hpp"
#include "payload/extract_payload.hpp"
#include "payload/payload_extractor.hpp"
#include "payload/resource_stream.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/payload_archive.hpp"

namespace fs = std::filesystem;
using namespace zu::test;
using result = zu::notification::result;

namespace {

class ExtractPayload : public ::testing::Test {
protected:
    temp_folder dir;
    zu::destination_roots roots() const { return {dir / L"install", L"", dir / L"temp"}; }

    std::vector<archive_file> small_archive() const {
        return {
            {L"C:\\build\\bin\\Mobrix.exe", L"<InstallPath>", pattern_bytes(10000, 1), 1},
            {L"C:\\build\\lang\\Mobrix.de.dll", L"<InstallPath>\\Lang", pattern_bytes(5000, 2), 0},
            {L"D:/dx/dxsetup.dat", L"<Temporary>", pattern_bytes(300, 3), 5},
        };
    }

    // Runs the extraction of compressed bytes and returns whether it succeeded.
    bool run(const std::string& compressed, recorder& r) {
        zu::imemstream source = zu::open_resource_stream(compressed.data(), compressed.size());
        return zu::extract_payload(source, roots(), r.handler());
    }

    std::wstring installed(const std::wstring& rest) const { return dir / (L"install" + std::wstring(1, zu::kPathSeparator) + rest); }
};

void expect_error(const recorder& r, std::error_code code, const std::wstring& path) {
    ASSERT_FALSE(r.log.empty());
    EXPECT_EQ(r.last().tag, error_tag);
    EXPECT_EQ(r.last().code, code) << r.last().code.message();
    EXPECT_EQ(zu::to_utf8(r.last().path), zu::to_utf8(path));
    EXPECT_EQ(r.only(error_tag).size(), 1u);
    EXPECT_TRUE(r.only(finish_tag).empty());
}

}  // namespace

TEST_F(ExtractPayload, NotificationSequenceOfASmallArchive) {
    const auto files = small_archive();
    const std::string raw = raw_archive(files), compressed = bzip2(raw);
    const std::uint64_t header = zu::encode_payload_header(entries_of(files)).size();
    recorder r;
    ASSERT_TRUE(run(compressed, r));

    const auto tags = r.tags();
    ASSERT_GE(tags.size(), 3u);
    EXPECT_EQ(tags.front(), start_tag);
    EXPECT_EQ(tags[1], progress_tag);
    EXPECT_EQ(r.log[1].a, header) << "the first progress is at the header size";
    EXPECT_EQ(r.log[1].b, raw.size());
    EXPECT_EQ(r.last(), (heard{finish_tag, L"", compressed.size(), raw.size()}));

    const std::wstring paths[] = {installed(L"Mobrix.exe"), installed(L"Lang" + std::wstring(1, zu::kPathSeparator) + L"Mobrix.de.dll"),
                                  dir / (L"temp" + std::wstring(1, zu::kPathSeparator) + L"dxsetup.dat")};
    // begin and end alternate per entry, progress only in between, and it only grows.
    std::vector<heard> framing;
    std::uint64_t last_position = 0;
    for (const heard& h : r.log) {
        if (h.tag == begin_tag || h.tag == end_tag) framing.push_back(h);
        if (h.tag == progress_tag) {
            EXPECT_GE(h.a, last_position);
            EXPECT_EQ(h.b, raw.size());
            last_position = h.a;
        }
    }
    ASSERT_EQ(framing.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(framing[2 * i], (heard{begin_tag, paths[i]}));
        EXPECT_EQ(framing[2 * i + 1], (heard{end_tag, paths[i]}));
        EXPECT_EQ(read_file(zu::to_path(paths[i])), files[i].content);
    }
    EXPECT_EQ(r.only(progress_tag).back().a, raw.size()) << "the last progress is at the total";
    EXPECT_EQ(tags[tags.size() - 2], end_tag);
}

TEST_F(ExtractPayload, SkipEverywhereWritesNothingAndSucceeds) {
    recorder r([](const heard& h) { return h.tag == begin_tag ? result::skip : result::proceed; });
    ASSERT_TRUE(run(bzip2(raw_archive(small_archive())), r));
    EXPECT_EQ(r.only(begin_tag).size(), 3u);
    EXPECT_TRUE(r.only(end_tag).empty());
    EXPECT_FALSE(fs::exists(dir.path() / "install"));
    EXPECT_FALSE(fs::exists(dir.path() / "temp"));
    EXPECT_EQ(r.last().tag, finish_tag);
}

TEST_F(ExtractPayload, AbortAtBeginEntryHasNoPathAbortInsideAnEntryNamesIt) {
    const std::string compressed = bzip2(raw_archive(small_archive()));
    {
        recorder r([](const heard& h) { return h.tag == begin_tag ? result::abort : result::proceed; });
        EXPECT_FALSE(run(compressed, r));
        expect_error(r, zu::compress_errc::interrupted, L"");
        EXPECT_FALSE(fs::exists(zu::to_path(installed(L"Mobrix.exe"))));
    }
    {
        // Abort at the second progress: the first carries the header, the second the first piece of data.
        int progress = 0;
        recorder r([&](const heard& h) { return h.tag == progress_tag && ++progress == 2 ? result::abort : result::proceed; });
        EXPECT_FALSE(run(compressed, r));
        expect_error(r, zu::compress_errc::interrupted, installed(L"Mobrix.exe"));
    }
    {
        recorder r([](const heard& h) { return h.tag == end_tag ? result::abort : result::proceed; });
        EXPECT_FALSE(run(compressed, r));
        expect_error(r, zu::compress_errc::interrupted, installed(L"Mobrix.exe"));
    }
}

TEST_F(ExtractPayload, FlippedDataByteFailsWithInvalidChecksumNamingTheFile) {
    const auto files = small_archive();
    std::string raw = raw_archive(files);
    const std::size_t header = raw.size() - 15300;
    raw[header + 10000 + 42] ^= 0x01;  // inside the second file
    recorder r;
    EXPECT_FALSE(run(bzip2(raw), r));
    const std::wstring dll = installed(L"Lang" + std::wstring(1, zu::kPathSeparator) + L"Mobrix.de.dll");
    expect_error(r, zu::compress_errc::invalid_checksum, dll);
    EXPECT_EQ(read_file(zu::to_path(dll)).size(), 5000u) << "the file has been written before the check";
    EXPECT_EQ(r.only(end_tag).size(), 1u);
}

TEST_F(ExtractPayload, ArchiveShorterOrLongerThanItsHeaderFailsWithUnexpected) {
    const std::string raw = raw_archive(small_archive());
    for (const std::string& wrong : {raw.substr(0, raw.size() - 1), raw + "x"}) {
        recorder r;
        EXPECT_FALSE(run(bzip2(wrong), r)) << wrong.size();
        expect_error(r, zu::compress_errc::unexpected, L"");
    }
}

TEST_F(ExtractPayload, EmptyStreamFailsWithUnexpectedAfterStartOnly) {
    recorder r;
    EXPECT_FALSE(run("", r));
    EXPECT_EQ(r.tags(), (std::vector<std::size_t>{start_tag, error_tag}));
    expect_error(r, zu::compress_errc::unexpected, L"");
}

TEST_F(ExtractPayload, DamagedCompressedDataFailsWithBzip2Failure) {
    const std::string compressed = bzip2(raw_archive(small_archive()));
    struct { const char* what; std::string data; } cases[] = {
        {"not bzip2 at all", "this is not a compressed stream"},
        {"garbled in the middle", [&] { std::string d = compressed; for (std::size_t i = 40; i < 60; ++i) d[i] ^= 0x5A; return d; }()},
        {"cut short", compressed.substr(0, compressed.size() / 2)},
        {"garbage after the stream", compressed + "trailing"},
    };
    for (const auto& c : cases) {
        recorder r;
        EXPECT_FALSE(run(c.data, r)) << c.what;
        ASSERT_FALSE(r.log.empty());
        EXPECT_EQ(r.last().code, zu::compress_errc::bzip2_failure) << c.what << ": " << r.last().code.message();
    }
}

TEST_F(ExtractPayload, DamageAfterFilesWereWrittenIsStillABzip2Failure) {
    // Two 900 k blocks: the first block's files are placed (which leaves errno set by the
    // existence checks of new files) before the decompressor meets the damage.
    const std::vector<archive_file> files = {
        {L"one.bin", L"<InstallPath>", pattern_bytes(1000000, 5)},
        {L"two.bin", L"<InstallPath>", pattern_bytes(1000000, 6)},
    };
    std::string compressed = bzip2(raw_archive(files));
    for (std::size_t i = compressed.size() - 2000; i < compressed.size() - 1000; ++i) compressed[i] ^= 0x33;
    recorder r;
    EXPECT_FALSE(run(compressed, r));
    ASSERT_FALSE(r.only(end_tag).empty()) << "the damage must come after a placed file";
    EXPECT_EQ(r.last().code, zu::compress_errc::bzip2_failure) << r.last().code.message();
}

TEST_F(ExtractPayload, DestinationThatCannotBeOpenedReportsTheSystemError) {
    // A folder stands where the file must go.
    fs::create_directories(dir.path() / "install" / "Mobrix.exe");
    recorder r;
    EXPECT_FALSE(run(bzip2(raw_archive(small_archive())), r));
    expect_error(r, std::error_code(EISDIR, std::generic_category()), installed(L"Mobrix.exe"));
    EXPECT_EQ(zu::extraction_error_text(r.last().code), L"2:00000015");
}

TEST_F(ExtractPayload, WriteThatFailsAtTheEndOfASmallFileReportsTheSystemError) {
    // The whole file fits the write buffer, so the failure comes only when it is flushed.
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    fs::create_directories(dir.path() / "install" / "Lang");
    fs::create_symlink("/dev/full", dir.path() / "install" / "Lang" / "Mobrix.de.dll");
    recorder r;
    EXPECT_FALSE(run(bzip2(raw_archive(small_archive())), r));
    expect_error(r, std::error_code(ENOSPC, std::generic_category()), installed(L"Lang/Mobrix.de.dll"));
}

TEST_F(ExtractPayload, FolderThatCannotBeCreatedNamesItself) {
    // A file stands where the temporary folder must be created.
    { std::ofstream(dir.path() / "temp") << "x"; }
    recorder r;
    EXPECT_FALSE(run(bzip2(raw_archive(small_archive())), r));
    ASSERT_EQ(r.last().tag, error_tag);
    EXPECT_EQ(r.last().code.category(), std::generic_category());
    EXPECT_EQ(r.last().path, dir / L"temp" + std::wstring(1, zu::kPathSeparator) + L"dxsetup.dat");
}

TEST_F(ExtractPayload, ReadOnlyTargetIsOverwritten) {
    const fs::path exe = dir.path() / "install" / "Mobrix.exe";
    fs::create_directories(exe.parent_path());
    { std::ofstream(exe) << "old contents"; }
    fs::permissions(exe, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // A link to a read-only file is followed to it.
    const fs::path real = dir.path() / "real.dll";
    { std::ofstream(real) << "old"; }
    fs::permissions(real, fs::perms::owner_read);
    fs::create_directories(dir.path() / "install" / "Lang");
    fs::create_symlink(real, dir.path() / "install" / "Lang" / "Mobrix.de.dll");

    recorder r;
    ASSERT_TRUE(run(bzip2(raw_archive(small_archive())), r));
    EXPECT_EQ(read_file(exe), small_archive()[0].content);
    EXPECT_NE(fs::status(exe).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(read_file(real), small_archive()[1].content);
}

TEST_F(ExtractPayload, ZeroLengthEntriesAreEmptyFilesWhereverTheyStand) {
    std::vector<archive_file> files = {
        {L"first.txt", L"<InstallPath>", "", 0},
        {L"data.bin", L"<InstallPath>", "payload bytes", 0},
        {L"middle.txt", L"<InstallPath>\\sub", "", 0},
        {L"middle2.txt", L"<InstallPath>", "", 0},
        {L"more.bin", L"<InstallPath>", "x", 0},
        {L"last.txt", L"<InstallPath>", "", 0},
    };
    recorder r;
    ASSERT_TRUE(run(bzip2(raw_archive(files)), r));
    EXPECT_EQ(r.only(begin_tag).size(), files.size());
    EXPECT_EQ(r.only(end_tag).size(), files.size());
    EXPECT_EQ(r.only(end_tag).back().path, installed(L"last.txt"));
    for (const auto& f : files) {
        const fs::path p = zu::to_path(zu::expand_destination(f.folder, roots(), {})) / zu::to_path(f.source);
        EXPECT_EQ(read_file(p), f.content) << p;
        EXPECT_TRUE(fs::is_regular_file(p)) << p;
    }

    // An archive of empty files only: every entry is done when the header is.
    recorder only_empty;
    ASSERT_TRUE(run(bzip2(raw_archive({{L"a", L"<InstallPath>", ""}, {L"b", L"<InstallPath>", ""}})), only_empty));
    EXPECT_EQ(only_empty.only(end_tag).size(), 2u);
    // An empty file whose entry claims another checksum still fails the check.
    std::vector<zu::payload_entry> entries = {{L"a", L"<InstallPath>", 0, 0, 0x1234}};
    recorder wrong;
    EXPECT_FALSE(run(bzip2(zu::encode_payload_header(entries)), wrong));
    EXPECT_EQ(wrong.last().code, zu::compress_errc::invalid_checksum);
}

TEST_F(ExtractPayload, ArchiveEndingInManySmallFilesArrivesWhole) {
    // The decompressor's last output holds the ends of many entries at once.
    std::vector<archive_file> files = {{L"big.bin", L"<InstallPath>", pattern_bytes(100000, 9)}};
    for (int i = 0; i < 40; ++i) files.push_back({L"small" + std::to_wstring(i), L"<InstallPath>", pattern_bytes(7 + i, i)});
    recorder r;
    ASSERT_TRUE(run(bzip2(raw_archive(files)), r)) << r.last().code.message();
    EXPECT_EQ(r.only(end_tag).size(), files.size());
    EXPECT_EQ(read_file(zu::to_path(installed(L"small39"))), files.back().content);
}

TEST_F(ExtractPayload, HandlerThatThrowsAtStartFailsWithItsError) {
    int calls = 0;
    zu::notification_handler handler = [&](const zu::notification& n) {
        ++calls;
        if (n.tag() == start_tag) throw std::system_error(zu::compress_errc::payload_check_failed);
        EXPECT_EQ(n.tag(), error_tag);
        EXPECT_EQ(std::get<zu::notification::error>(n.value).code, zu::compress_errc::payload_check_failed);
        return result::proceed;
    };
    const std::string compressed = bzip2(raw_archive(small_archive()));
    zu::imemstream source(compressed.data(), compressed.size());
    EXPECT_FALSE(zu::extract_payload(source, roots(), handler));
    EXPECT_EQ(calls, 2);
}

TEST_F(ExtractPayload, MissingSpecialFolderStopsBeforeAnythingIsWritten) {
    auto files = small_archive();
    files.push_back({L"shared.dat", L"<CommonData>\\Quillon", "shared", 3});
    recorder r;
    EXPECT_FALSE(run(bzip2(raw_archive(files)), r));
    expect_error(r, zu::compress_errc::unexpected, L"");
    EXPECT_TRUE(r.only(begin_tag).empty());
    EXPECT_FALSE(fs::exists(dir.path() / "install"));

    // Given the folder, the same archive goes through.
    recorder ok;
    const std::string compressed = bzip2(raw_archive(files));
    zu::imemstream source(compressed.data(), compressed.size());
    ASSERT_TRUE(zu::extract_payload(source, roots(), ok.handler(), zu::special_folders({{0x23, dir / L"common"}})));
    EXPECT_EQ(read_file(dir.path() / "common" / "Quillon" / "shared.dat"), "shared");
}
