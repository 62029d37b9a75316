#include "payload_commands.hpp"

#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_stream.hpp>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>

#include "manifest.hpp"
#include "payload/compress_error.hpp"
#include "payload/destination_macros.hpp"
#include "payload/extract_payload.hpp"
#include "payload/payload_header.hpp"
#include "payload/payload_header_writer.hpp"
#include "payload_input.hpp"
#include "support/crc32.hpp"
#include "support/wide_path.hpp"

namespace io = boost::iostreams;
namespace fs = std::filesystem;

namespace installer_tool {
namespace {

constexpr std::size_t kBlock = 4096;
constexpr int kBzip2BlockSize = 9;  // 900 k blocks

class usage_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

std::string quoted(const std::wstring& text) { return "\"" + zu::to_utf8(text) + "\""; }

// Size and CRC-32 of a source file, copied into `out` on the way when there is one.
std::pair<std::uint64_t, std::uint32_t> read_source(const fs::path& path, std::ostream* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path.string() + ": cannot open the source file");
    std::array<char, kBlock> block;
    std::uint64_t size = 0;
    std::uint32_t reg = zu::kCrc32Initial;
    while (in) {
        in.read(block.data(), block.size());
        const auto n = static_cast<std::size_t>(in.gcount());
        reg = zu::crc32_update(reg, block.data(), n);
        size += n;
        if (out) out->write(block.data(), static_cast<std::streamsize>(n));
    }
    if (!in.eof()) throw std::runtime_error(path.string() + ": cannot read the source file");
    return {size, zu::crc32_final(reg)};
}

// Copies a source into the archive, checking that it did not change since it was measured.
void append_source(std::ostream& out, const fs::path& path, const zu::payload_entry& entry) {
    const auto [size, crc] = read_source(path, &out);
    if (size != entry.size || crc != entry.crc) {
        throw std::runtime_error(path.string() + ": the source file changed while the archive was written");
    }
}

void expect_arguments(const std::vector<std::string>& args, std::size_t count, const char* usage) {
    if (args.size() != count) throw usage_error(std::string("usage: installer-tool payload ") + usage);
}

// The decompressed archive, read as a stream; damaged compressed data raises.
struct archive_reader {
    explicit archive_reader(const std::string& path) : input(path), source(input.open()) {
        archive.push(io::bzip2_decompressor(false, kBlock));
        archive.push(source);
        archive.exceptions(std::ios::badbit);
    }
    std::uint64_t read_some(char* into, std::uint64_t wanted) {
        archive.read(into, static_cast<std::streamsize>(wanted));
        return static_cast<std::uint64_t>(archive.gcount());
    }
    struct header {
        std::uint64_t size;
        std::vector<zu::payload_entry> entries;
    };
    header read_header() {
        std::string bytes(zu::kHeaderSizeFieldLength, '\0');
        if (read_some(bytes.data(), bytes.size()) != bytes.size()) throw std::runtime_error("the archive ends inside its header");
        const std::uint64_t size = zu::read_le64(reinterpret_cast<const unsigned char*>(bytes.data()));
        zu::check_header_size(size);
        bytes.resize(size);
        const std::uint64_t rest = size - zu::kHeaderSizeFieldLength;
        if (read_some(bytes.data() + zu::kHeaderSizeFieldLength, rest) != rest) throw std::runtime_error("the archive ends inside its header");
        return {size, zu::parse_payload_entries(reinterpret_cast<const unsigned char*>(bytes.data()), size)};
    }

    payload_input input;
    zu::imemstream source;
    io::filtering_istream archive;
};

std::string describe(const std::error_code& code) {
    return zu::to_utf8(zu::extraction_error_text(code)) + " (" + code.category().name() + " " +
           std::to_string(code.value()) + ": " + code.message() + ")";
}

}  // namespace

int payload_build(const std::vector<std::string>& args) {
    expect_arguments(args, 2, "build MANIFEST OUT");
    const std::vector<manifest_entry> manifest = read_manifest(args[0]);
    std::vector<zu::payload_entry> entries;
    std::map<std::uint32_t, int> by_kind;
    for (const manifest_entry& m : manifest) {
        std::pair<std::uint64_t, std::uint32_t> measured;
        try {
            measured = read_source(m.source, nullptr);
        } catch (const std::runtime_error& e) {
            throw manifest_error(args[0] + ":" + std::to_string(m.line) + ": " + e.what());
        }
        const auto [size, crc] = measured;
        entries.push_back({zu::to_wide(m.source), m.folder, m.kind, size, crc});
        ++by_kind[m.kind];
    }
    const std::string header = zu::encode_payload_header(entries);

    // Written beside the target and renamed over it, so that a failed build leaves no half archive.
    const fs::path out_path = args[1];
    const fs::path partial = out_path.string() + ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        if (!file) throw std::runtime_error(partial.string() + ": cannot create the archive");
        io::filtering_ostream out;
        out.push(io::bzip2_compressor(io::bzip2_params(kBzip2BlockSize)));
        out.push(file);
        out.exceptions(std::ios::badbit | std::ios::failbit);
        out.write(header.data(), static_cast<std::streamsize>(header.size()));
        for (std::size_t i = 0; i < entries.size(); ++i) append_source(out, manifest[i].source, entries[i]);
        out.reset();
        file.close();
        if (!file) throw std::runtime_error(partial.string() + ": cannot write the archive");
    }
    fs::rename(partial, out_path);

    std::cout << "entries: " << entries.size() << "\n";
    for (std::uint32_t k = 0; k < 6; ++k) std::cout << "  " << kind_name(k) << ": " << by_kind[k] << "\n";
    std::cout << "header size: " << header.size() << " bytes\n"
              << "archive length: " << zu::archive_length(header.size(), entries) << " bytes\n"
              << "compressed size: " << fs::file_size(out_path) << " bytes\n";
    return 0;
}

int payload_list(const std::vector<std::string>& args) {
    expect_arguments(args, 1, "list IN");
    archive_reader reader(args[0]);
    const auto header = reader.read_header();
    std::cout << "header size: " << header.size << "\n"
              << "entry count: " << header.entries.size() << "\n"
              << "archive length: " << zu::archive_length(header.size, header.entries) << "\n";
    for (std::size_t i = 0; i < header.entries.size(); ++i) {
        const zu::payload_entry& e = header.entries[i];
        std::cout << i << "  " << kind_name(e.kind) << "  " << e.size << "  " << hex8(e.crc) << "  "
                  << quoted(e.destination) << "  " << quoted(e.source) << "\n";
    }
    return 0;
}

int payload_verify(const std::vector<std::string>& args) {
    expect_arguments(args, 1, "verify IN");
    archive_reader reader(args[0]);
    const auto header = reader.read_header();
    std::array<char, kBlock> block;
    int bad = 0;
    for (std::size_t i = 0; i < header.entries.size(); ++i) {
        const zu::payload_entry& e = header.entries[i];
        std::uint32_t reg = zu::kCrc32Initial;
        for (std::uint64_t left = e.size; left > 0;) {
            const std::uint64_t got = reader.read_some(block.data(), std::min<std::uint64_t>(left, block.size()));
            if (got == 0) throw std::runtime_error("the archive ends inside entry " + std::to_string(i) + " " + quoted(e.source));
            reg = zu::crc32_update(reg, block.data(), static_cast<std::size_t>(got));
            left -= got;
        }
        if (zu::crc32_final(reg) != e.crc) {
            std::cerr << "entry " << i << " " << quoted(e.source) << ": CRC-32 " << hex8(zu::crc32_final(reg))
                      << ", expected " << hex8(e.crc) << "\n";
            ++bad;
        }
    }
    if (reader.archive.peek() != std::char_traits<char>::eof()) throw std::runtime_error("bytes follow the last entry");
    if (bad) {
        std::cerr << bad << " of " << header.entries.size() << " entries failed their check\n";
        return 1;
    }
    std::cout << "payload check passed: " << header.entries.size() << " entries, "
              << zu::archive_length(header.size, header.entries) << " bytes, every CRC-32 matches\n";
    return 0;
}

int payload_extract(const std::vector<std::string>& args) {
    const char* usage =
        "extract IN --install-root DIR [--sample-folder NAME] [--temp-root DIR] [--folder NAME=DIR ...]";
    if (args.empty()) throw usage_error(std::string("usage: installer-tool payload ") + usage);
    zu::destination_roots roots;
    std::map<int, std::wstring> folders;
    bool have_install_root = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) throw usage_error(option + " needs a value");
        const std::string value = args[++i];
        if (option == "--install-root") {
            roots.install_root = zu::to_wide(fs::absolute(value));
            have_install_root = true;
        } else if (option == "--sample-folder") {
            roots.sample_folder = zu::from_utf8(value);
        } else if (option == "--temp-root") {
            roots.temp_folder = zu::to_wide(fs::absolute(value));
        } else if (option == "--folder") {
            const auto eq = value.find('=');
            if (eq == std::string::npos) throw usage_error("--folder wants NAME=DIR, for example CommonData=/srv/common");
            const std::wstring macro = L"<" + zu::from_utf8(value.substr(0, eq)) + L">";
            int id = zu::csidl::none;
            for (const zu::special_macro& m : zu::special_folder_macros()) {
                if (macro == m.name) id = m.folder;
            }
            if (id == zu::csidl::none) throw usage_error("--folder: unknown folder name " + value.substr(0, eq));
            folders[id] = zu::to_wide(fs::absolute(value.substr(eq + 1)));
        } else {
            throw usage_error("unknown option " + option);
        }
    }
    if (!have_install_root) throw usage_error(std::string("usage: installer-tool payload ") + usage);

    const payload_input input(args[0]);
    zu::imemstream source = input.open();
    const bool terminal = ::isatty(STDOUT_FILENO) != 0;
    int shown_percent = -1;
    std::wstring current;
    zu::notification::error failure{};
    zu::notification::finish done{};
    auto handler = [&](const zu::notification& n) {
        if (auto begin = std::get_if<zu::notification::begin_entry>(&n.value)) {
            current = begin->entry.destination;
            if (!terminal) std::cout << "writing " << zu::to_utf8(current) << "\n";
        } else if (auto p = std::get_if<zu::notification::progress>(&n.value)) {
            const int percent = p->total ? static_cast<int>(p->position * 100 / p->total) : 0;
            if (terminal && percent != shown_percent) {
                shown_percent = percent;
                std::cout << "\r[" << std::string(percent / 2, '#') << std::string(50 - percent / 2, ' ') << "] "
                          << percent << "% " << std::flush;
            }
        } else if (auto e = std::get_if<zu::notification::error>(&n.value)) {
            failure = *e;
        } else if (auto f = std::get_if<zu::notification::finish>(&n.value)) {
            done = *f;
        }
        return zu::notification::result::proceed;
    };
    const bool ok = zu::extract_payload(source, roots, handler, zu::special_folders(folders));
    if (terminal) std::cout << "\n";
    if (!ok) {
        std::cerr << "extraction failed: error " << describe(failure.code) << "\n";
        std::cerr << "path: " << (failure.path.empty() ? "(none)" : zu::to_utf8(failure.path)) << "\n";
        return 1;
    }
    std::cout << "extracted " << done.total << " bytes from " << done.consumed << " compressed bytes\n";
    return 0;
}


}  // namespace installer_tool
