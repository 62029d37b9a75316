// Feeds arbitrary decompressed archives to the payload reader.
//
// Input: one control byte, then the archive. The control byte picks the handler's answers
// (write, skip, or alternate) and the size of the pieces handed to write(), so that every
// boundary of the reader is met at every offset. Files are only ever written below a private
// folder: an entry whose destination leaves it is skipped.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <map>
#include <variant>
#include <string>

#include "payload/compress_error.hpp"
#include "payload/extract_payload.hpp"
#include "payload/payload_extractor.hpp"
#include "payload/windows_path.hpp"
#include "support/wide_path.hpp"

namespace fs = std::filesystem;

namespace {

const fs::path& sandbox() {
    static const fs::path root = [] {
        std::string pattern = (fs::temp_directory_path() / "zu-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(sandbox(), ec);
        });
        return fs::path(pattern);
    }();
    return root;
}

bool inside_sandbox(const std::wstring& destination) {
    const std::wstring root = zu::to_wide(sandbox()) + zu::kPathSeparator;
    if (destination.compare(0, root.size(), root) != 0) return false;
    for (const std::wstring& element : zu::split_path_elements(destination)) {
        if (element == L"..") return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t control = data[0];
    const char* archive = reinterpret_cast<const char*>(data + 1);
    const std::size_t length = size - 1;
    const std::size_t piece = std::size_t{1} << (control >> 4);  // 1 to 32768 bytes
    const int mode = control & 3;

    const std::wstring root = zu::to_wide(sandbox());
    const std::wstring sep(1, zu::kPathSeparator);
    std::map<int, std::wstring> folders;
    for (int id : {0x05, 0x10, 0x19, 0x1A, 0x23, 0x24, 0x25, 0x26, 0x2B}) folders[id] = root + sep + L"f" + std::to_wstring(id);

    bool wrote = false;
    int entries = 0;
    auto handler = [&](const zu::notification& n) {
        if (auto begin = std::get_if<zu::notification::begin_entry>(&n.value)) {
            const bool write = mode == 0 || (mode == 2 && entries++ % 2 == 0);
            if (write && inside_sandbox(begin->entry.destination)) {
                wrote = true;
                return zu::notification::result::proceed;
            }
            return zu::notification::result::skip;
        }
        if (mode == 3 && n.tag() == 4 && (control & 8)) return zu::notification::result::abort;
        return zu::notification::result::proceed;
    };

    zu::payload_extractor reader({root + sep + L"i", L"Samples", (control & 4) ? std::wstring() : root + sep + L"t"},
                                 handler, zu::special_folders(folders));
    try {
        for (std::size_t at = 0; at < length;) {
            const std::size_t offer = std::min(piece, length - at);
            const std::streamsize taken = reader.write(archive + at, static_cast<std::streamsize>(offer));
            if (taken <= 0 || static_cast<std::size_t>(taken) > offer) std::abort();  // the reader must always progress
            at += static_cast<std::size_t>(taken);
        }
        if (reader.position() > reader.total()) std::abort();
    } catch (const std::exception& failure) {
        (void)zu::error_code_of(failure);
        if (!reader.broken()) std::abort();
        if (reader.write("x", 1) != 1) std::abort();  // a broken reader swallows what follows
    }
    if (wrote) {
        std::error_code ec;
        for (const auto& child : fs::directory_iterator(sandbox(), ec)) fs::remove_all(child.path(), ec);
    }
    return 0;
}
