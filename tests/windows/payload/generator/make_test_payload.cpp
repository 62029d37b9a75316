// Writes the decompressed test archive of test_payload.hpp: make_test_payload OUT
#include <fstream>
#include <iostream>

#include "payload/payload_header_writer.hpp"
#include "support/crc32.hpp"
#include "../test_payload.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_test_payload OUT\n";
        return 2;
    }
    std::vector<zu::payload_entry> entries;
    for (const auto& f : zu::test::test_payload_files()) {
        entries.push_back({f.source, f.folder, f.kind, f.content.size(), zu::crc32(f.content.data(), f.content.size())});
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << zu::encode_payload_header(entries);
    for (const auto& f : zu::test::test_payload_files()) out << f.content;
    out.close();
    return out ? 0 : 1;
}
