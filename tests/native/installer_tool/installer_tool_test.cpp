#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

#include "common/payload_archive.hpp"
#include "common/pe_image.hpp"

namespace fs = std::filesystem;
using namespace zu::test;

namespace {

struct run_result {
    int exit_code;
    std::string output;  // stdout and stderr together
};

std::string shell_quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

run_result tool(const std::vector<std::string>& args, const fs::path& cwd) {
    std::string command = "cd " + shell_quote(cwd.string()) + " && " + shell_quote(ZU_INSTALLER_TOOL);
    for (const std::string& a : args) command += " " + shell_quote(a);
    command += " 2>&1 </dev/null";
    run_result r{-1, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) r.output.append(buffer, n);
    const int status = ::pclose(pipe);
    r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

void write_file(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

class InstallerTool : public ::testing::Test {
protected:
    temp_folder dir;
    run_result run(const std::vector<std::string>& args) { return tool(args, dir.path()); }

    void write_sources() {
        write_file(dir.path() / "product" / "Mobrix.exe", pattern_bytes(70000, 1));
        write_file(dir.path() / "product" / "lang" / "Mobrix.de.dll", pattern_bytes(3000, 2));
        write_file(dir.path() / "product" / "shared data.bin", "shared");
        write_file(dir.path() / "product" / "empty.txt", "");
        write_file(dir.path() / "manifest.txt",
                   "# the product\n"
                   "main_program   | <InstallPath>                  | product/Mobrix.exe\n"
                   "\n"
                   "0              | <InstallPath>\\Lang             | product/lang/Mobrix.de.dll\n"
                   "shared_data    | <CommonData>\\Quillon\\Mobrix 6 | product/shared data.bin\n"
                   "5              | <Temporary>                    | product/empty.txt\n");
    }
};

}  // namespace

TEST_F(InstallerTool, BuildListVerifyAndExtractRoundTrip) {
    write_sources();
    const run_result build = run({"payload", "build", "manifest.txt", "payload.bz2"});
    ASSERT_EQ(build.exit_code, 0) << build.output;
    EXPECT_NE(build.output.find("entries: 4"), std::string::npos) << build.output;
    EXPECT_NE(build.output.find("main_program: 1"), std::string::npos);
    EXPECT_NE(build.output.find("archive length: "), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path() / "payload.bz2.partial"));
    const std::string compressed = read_file(dir.path() / "payload.bz2");
    EXPECT_EQ(compressed.substr(0, 4), "BZh9") << "one bzip2 stream of 900 k blocks";
    EXPECT_NE(build.output.find("compressed size: " + std::to_string(compressed.size())), std::string::npos);

    const run_result list = run({"payload", "list", "payload.bz2"});
    ASSERT_EQ(list.exit_code, 0) << list.output;
    EXPECT_NE(list.output.find("entry count: 4"), std::string::npos) << list.output;
    char crc[9];
    const std::string exe = pattern_bytes(70000, 1);
    std::snprintf(crc, sizeof crc, "%08X", zu::crc32(exe.data(), exe.size()));
    EXPECT_NE(list.output.find(std::string("0  main_program  70000  ") + crc + "  \"<InstallPath>\""), std::string::npos)
        << list.output;
    EXPECT_NE(list.output.find("3  temporary_file  0  00000000  \"<Temporary>\""), std::string::npos) << list.output;

    const run_result verify = run({"payload", "verify", "payload.bz2"});
    EXPECT_EQ(verify.exit_code, 0) << verify.output;

    const run_result extract = run({"payload", "extract", "payload.bz2", "--install-root", "inst", "--temp-root", "tmp",
                                    "--folder", "CommonData=common"});
    ASSERT_EQ(extract.exit_code, 0) << extract.output;
    EXPECT_EQ(read_file(dir.path() / "inst" / "Mobrix.exe"), exe);
    EXPECT_EQ(read_file(dir.path() / "inst" / "Lang" / "Mobrix.de.dll"), pattern_bytes(3000, 2));
    EXPECT_EQ(read_file(dir.path() / "common" / "Quillon" / "Mobrix 6" / "shared data.bin"), "shared");
    EXPECT_TRUE(fs::is_regular_file(dir.path() / "tmp" / "empty.txt"));
    EXPECT_NE(extract.output.find("writing "), std::string::npos) << "plain lines when not on a terminal";
}

TEST_F(InstallerTool, BadManifestLinesAreReportedWithTheirNumber) {
    write_file(dir.path() / "a.bin", "a");
    write_file(dir.path() / "bad:name", "b");
    for (const char* name : {"NUL", "com1.txt", "x."}) write_file(dir.path() / name, "c");
    struct { const char* line; const char* says; } cases[] = {
        {"9 | <InstallPath> | a.bin", "unknown kind"},
        {"0 | <InstallPath>", "expected KIND | DESTINATION FOLDER | SOURCE FILE"},
        {"0 | <InstallPath> | a.bin | extra", "expected KIND"},
        {"0 |  | a.bin", "empty destination folder"},
        {"0 | <Installpath>\\x | a.bin", "unknown macro <Installpath>"},
        {"0 | <InstallPath> | ", "empty source file"},
        {"0 | <InstallPath> | bad:name", "not a valid Windows file name"},
        {"0 | <InstallPath> | missing.bin", "cannot open the source file"},
        {"0 | <InstallPath> | .", "not a valid Windows file name"},
        {"0 | <InstallPath> | NUL", "\"NUL\" is not a valid Windows file name"},
        {"0 | <InstallPath> | com1.txt", "not a valid Windows file name"},
        {"0 | <InstallPath> | x.", "not a valid Windows file name"},
    };
    for (const auto& c : cases) {
        write_file(dir.path() / "m.txt", std::string("# header\n0 | <InstallPath> | a.bin\n") + c.line + "\n");
        const run_result r = run({"payload", "build", "m.txt", "out.bz2"});
        EXPECT_NE(r.exit_code, 0) << c.line;
        EXPECT_NE(r.output.find("m.txt:3: "), std::string::npos) << c.line << " -> " << r.output;
        EXPECT_NE(r.output.find(c.says), std::string::npos) << c.line << " -> " << r.output;
        EXPECT_FALSE(fs::exists(dir.path() / "out.bz2")) << c.line;
    }
}

TEST_F(InstallerTool, MissingOrDamagedInputsFailClearly) {
    EXPECT_NE(run({"payload", "list", "absent.bz2"}).output.find("absent.bz2: No such file or directory"), std::string::npos);
    EXPECT_NE(run({"payload", "build", "absent.txt", "o"}).exit_code, 0);
    EXPECT_NE(run({"payload", "frobnicate"}).exit_code, 0);

    // An entry whose checksum does not match its data: verify names it and fails.
    std::vector<archive_file> files = {{L"C:\\b\\good.bin", L"<InstallPath>", "good"}, {L"C:\\b\\bad.bin", L"<InstallPath>", "bad!"}};
    std::string raw = raw_archive(files);
    raw.back() ^= 0x20;
    write_file(dir.path() / "damaged.bz2", bzip2(raw));
    const run_result verify = run({"payload", "verify", "damaged.bz2"});
    EXPECT_NE(verify.exit_code, 0);
    EXPECT_NE(verify.output.find("entry 1 \"C:\\b\\bad.bin\": CRC-32"), std::string::npos) << verify.output;

    write_file(dir.path() / "long.bz2", bzip2(raw_archive(files) + "x"));
    EXPECT_NE(run({"payload", "verify", "long.bz2"}).output.find("bytes follow the last entry"), std::string::npos);
    write_file(dir.path() / "garbage.bz2", "not compressed");
    EXPECT_NE(run({"payload", "verify", "garbage.bz2"}).output.find("damaged"), std::string::npos);

    // Extraction failures print the install page's code and the path, and exit non-zero.
    write_file(dir.path() / "ok.bz2", bzip2(raw_archive(files)));
    fs::create_directories(dir.path() / "inst" / "good.bin");
    const run_result extract = run({"payload", "extract", "ok.bz2", "--install-root", "inst"});
    EXPECT_NE(extract.exit_code, 0);
    EXPECT_NE(extract.output.find("error 2:00000015"), std::string::npos) << extract.output;
    EXPECT_NE(extract.output.find("path: " + (dir.path() / "inst" / "good.bin").string()), std::string::npos) << extract.output;
}

TEST_F(InstallerTool, ListAndVerifyReadTheResourceOfAnExecutable) {
    const std::vector<archive_file> files = {{L"C:\\b\\Mobrix.exe", L"<InstallPath>", "program"}};
    write_file(dir.path() / "Install.exe", pe_with_resource(260, 134, bzip2(raw_archive(files))));
    const run_result list = run({"payload", "list", "Install.exe"});
    EXPECT_EQ(list.exit_code, 0) << list.output;
    EXPECT_NE(list.output.find("0  standard_file  7  "), std::string::npos) << list.output;
    EXPECT_EQ(run({"payload", "verify", "Install.exe"}).exit_code, 0);

    write_file(dir.path() / "Other.exe", pe_with_resource(260, 135, bzip2(raw_archive(files))));
    const run_result other = run({"payload", "verify", "Other.exe"});
    EXPECT_NE(other.exit_code, 0);
    EXPECT_NE(other.output.find("has no payload resource (type 260, name 134)"), std::string::npos) << other.output;
}
