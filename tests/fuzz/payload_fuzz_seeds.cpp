// Writes a few well-formed decompressed archives (with the fuzzer's control byte in front)
// into a folder: payload_fuzz_seeds DIR
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "payload/payload_header_writer.hpp"
#include "support/crc32.hpp"

namespace {

struct file {
    std::wstring source, folder;
    std::uint32_t kind;
    std::string content;
};

std::string archive_of(const std::vector<file>& files) {
    std::vector<zu::payload_entry> entries;
    for (const file& f : files) entries.push_back({f.source, f.folder, f.kind, f.content.size(), zu::crc32(f.content.data(), f.content.size())});
    std::string out = zu::encode_payload_header(entries);
    for (const file& f : files) out += f.content;
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: payload_fuzz_seeds DIR\n";
        return 2;
    }
    const std::vector<std::vector<file>> archives = {
        {},
        {{L"C:\\b\\Mobrix.exe", L"<InstallPath>", 1, std::string(300, 'm')}},
        {{L"a.dll", L"<InstallPath>\\Lang", 0, "abc"}, {L"e.txt", L"<Temporary>", 5, ""}, {L"s.dat", L"<CommonData>\\Quillon\\Mobrix 6", 3, "shared"}},
        {{L"x", L"<SamplePath>\\One", 4, "sample"}, {L"y", L"<UserData>", 3, ""}, {L"z", L"<Unknown>\\q", 0, "z"}},
    };
    const unsigned char controls[] = {0x00, 0x31, 0x82, 0xC0};
    int n = 0;
    for (const auto& files : archives) {
        for (unsigned char control : controls) {
            std::ofstream out(std::string(argv[1]) + "/seed" + std::to_string(n++), std::ios::binary);
            out << static_cast<char>(control) << archive_of(files);
        }
    }
    return 0;
}
