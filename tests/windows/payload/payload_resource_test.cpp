#include "payload/compress_error.hpp"
#include "payload/destination_macros.hpp"
#include "payload/extract_payload.hpp"
#include "payload/payload_header_writer.hpp"
#include "payload/pe_resource.hpp"
#include "payload/resource_stream.hpp"
#include "support/windows_api.hpp"

#include <gtest/gtest.h>

#include "common/payload_archive.hpp"
#include "windows/payload/test_payload.hpp"

namespace fs = std::filesystem;
using namespace zu::test;

namespace {

class PayloadResource : public ::testing::Test {
protected:
    temp_folder dir;
    zu::destination_roots roots() const { return {dir / L"install", dir / L"samples", dir / L"tmp"}; }
};

std::wstring executable_path() {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

}  // namespace

TEST_F(PayloadResource, ExtractsTheExecutablesOwnPayload) {
    zu::imemstream source = zu::open_resource_stream(zu::kPayloadResourceType, zu::kPayloadResourceName);
    ASSERT_GT(source.rdbuf()->size(), 0u) << "the test program carries resource 260/134";

    recorder r;
    ASSERT_TRUE(zu::extract_payload(source, roots(), r.handler())) << r.last().code.message();

    const auto files = test_payload_files();
    std::vector<zu::payload_entry> entries;
    std::uint64_t data = 0;
    for (const auto& f : files) {
        entries.push_back({f.source, f.folder, f.kind, f.content.size(), 0});
        data += f.content.size();
    }
    const std::uint64_t header = zu::encode_payload_header(entries).size();
    const auto progress = r.only(progress_tag);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front().a, header);
    EXPECT_EQ(progress.front().b, header + data);
    EXPECT_EQ(progress.back().a, header + data);
    EXPECT_EQ(r.last().tag, finish_tag);
    EXPECT_EQ(r.last().a, source.rdbuf()->size()) << "every compressed byte was consumed";

    const std::wstring expected_paths[] = {
        dir / L"install\\Mobrix.exe", dir / L"install\\Uninstall.exe", dir / L"install\\Lang\\Mobrix.de.dll",
        dir / L"samples\\First\\First Steps.mbx", dir / L"install\\empty.txt", dir / L"tmp\\dxsetup.dat",
    };
    const auto ends = r.only(end_tag);
    ASSERT_EQ(ends.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(ends[i].path, expected_paths[i]);
        EXPECT_EQ(read_file(fs::path(expected_paths[i])), files[i].content) << i;
    }
}

TEST_F(PayloadResource, ResourceReadInPlaceMatchesTheExecutableFile) {
    zu::imemstream source = zu::open_resource_stream(zu::kPayloadResourceType, zu::kPayloadResourceName);
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(134), MAKEINTRESOURCEW(260));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(source.rdbuf()->data(), ::LockResource(::LoadResource(nullptr, found))) << "no copy is made";

    // The file-based reader of the vendor tool finds the same bytes in the built executable.
    const std::string file = read_file(fs::path(executable_path()));
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    ASSERT_TRUE(zu::looks_like_executable(bytes, file.size()));
    const auto range = zu::find_executable_resource(bytes, file.size(), 260, 134);
    ASSERT_TRUE(range);
    ASSERT_EQ(range->size, source.rdbuf()->size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(range->data), range->size),
              std::string(source.rdbuf()->data(), source.rdbuf()->size()));
    EXPECT_FALSE(zu::find_executable_resource(bytes, file.size(), 260, 135));
    // A file cut inside its resource tree is reported as damaged, not read past its end.
    EXPECT_THROW(zu::find_executable_resource(bytes, static_cast<std::size_t>(range->data - bytes) + 10, 260, 134),
                 zu::invalid_executable);
}

TEST_F(PayloadResource, AbsentResourceFailsWithUnexpectedAfterStart) {
    zu::imemstream source = zu::open_resource_stream(zu::kPayloadResourceType, 999);
    EXPECT_EQ(source.peek(), EOF);
    source.clear();
    recorder r;
    EXPECT_FALSE(zu::extract_payload(source, roots(), r.handler()));
    EXPECT_EQ(r.tags(), (std::vector<std::size_t>{start_tag, error_tag}));
    EXPECT_EQ(r.last().code, zu::compress_errc::unexpected);
}

TEST_F(PayloadResource, ReadOnlyFileIsOverwrittenAndBlockedDestinationIsASystemError) {
    const std::wstring exe = dir / L"install\\Mobrix.exe";
    fs::create_directories(dir.path() / "install");
    { std::ofstream(fs::path(exe)) << "old"; }
    ASSERT_TRUE(::SetFileAttributesW(exe.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        zu::imemstream source = zu::open_resource_stream(260, 134);
        recorder r;
        ASSERT_TRUE(zu::extract_payload(source, roots(), r.handler())) << r.last().code.message();
        EXPECT_EQ(read_file(fs::path(exe)), test_payload_files()[0].content);
        EXPECT_EQ(::GetFileAttributesW(exe.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    }
    // A folder where a file must go cannot be opened for writing.
    fs::remove(dir.path() / "install" / "Uninstall.exe");
    fs::create_directories(dir.path() / "install" / "Uninstall.exe");
    zu::imemstream source = zu::open_resource_stream(260, 134);
    recorder r;
    EXPECT_FALSE(zu::extract_payload(source, roots(), r.handler()));
    EXPECT_EQ(r.last().code.category(), std::system_category()) << r.last().code.message();
    EXPECT_EQ(r.last().path, dir / L"install\\Uninstall.exe");
    EXPECT_EQ(zu::extraction_error_text(r.last().code), L"1:00000005") << "access denied";
}

TEST(DestinationMacrosOnWindows, ShellFoldersAndWindowsPaths) {
    const zu::destination_roots roots{L"C:\\Program Files\\Quillon\\Mobrix 6", L"Mobrix Examples", L""};
    const zu::special_folders shell;
    wchar_t common_appdata[MAX_PATH] = {}, common_desktop[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathW(nullptr, 0x23, nullptr, SHGFP_TYPE_CURRENT, common_appdata), S_OK);
    ASSERT_EQ(::SHGetFolderPathW(nullptr, 0x19, nullptr, SHGFP_TYPE_CURRENT, common_desktop), S_OK);
    struct { std::wstring folder, expected; } cases[] = {
        {L"<InstallPath>\\Lang", L"C:\\Program Files\\Quillon\\Mobrix 6\\Lang"},
        {L"<installpath>\\Lang", L"Lang"},
        {L"<Unknown>\\A\\B", L"A\\B"},
        {L"<InstallPath>Lang", L"<InstallPath>Lang"},
        {L"D:\\Elsewhere", L"D:\\Elsewhere"},
        {L"<Temporary>", L"C:\\Program Files\\Quillon\\Mobrix 6"},
        {L"<CommonData>\\Quillon\\Mobrix 6", std::wstring(common_appdata) + L"\\Quillon\\Mobrix 6"},
        {L"<SamplePath>", std::wstring(common_desktop) + L"\\Mobrix Examples"},
    };
    for (const auto& c : cases) EXPECT_EQ(zu::expand_destination(c.folder, roots, shell), c.expected);
    EXPECT_EQ(zu::expand_destination(L"<SamplePath>", {roots.install_root, L"D:\\Samples", L""}, shell), L"D:\\Samples");
    EXPECT_EQ(zu::expand_destination(L"<InstallPath>\\Lang", {roots.install_root + L"\\", L"", L""}, shell),
              L"C:\\Program Files\\Quillon\\Mobrix 6\\Lang");
    // A folder number the shell does not know, with no fallback, fails.
    EXPECT_THROW(zu::lookup_special_folder(shell, 0x7F), std::system_error);
}
