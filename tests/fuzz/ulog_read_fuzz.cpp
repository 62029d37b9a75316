// libFuzzer target over the uninstall log's reader. Each input is read twice, from memory
// and as a file through CUninstallLog::Read, and the two must agree. What was read must
// then survive the writer: written out and read again, the same entries come back.
// Built with AddressSanitizer and UBSan, so any read past a bound shows up at once.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "system/uninstall_log.hpp"
#include "system/uninstall_log_file.hpp"

namespace {

using zu::LogEntry;
using zu::LogEntryKind;
namespace ulog = zu::ulog;

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "ulog_read_fuzz: %s\n", what);
    std::abort();
}

bool IsSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

struct Scratch {
    std::string folder;
    std::string file;
    std::wstring widePath;

    Scratch() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ulog-fuzz-XXXXXX";
        Check(::mkdtemp(pattern.data()) != nullptr, "cannot make a scratch folder");
        folder = pattern;
        file = folder + "/input.ulog";
        widePath.assign(file.begin(), file.end());  // mkdtemp names are ASCII
    }
    ~Scratch() {
        ::unlink(file.c_str());
        ::rmdir(folder.c_str());
    }
};

void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    FILE* out = std::fopen(path.c_str(), "wb");
    Check(out != nullptr, "cannot write the input file");
    if (size != 0) Check(std::fwrite(data, 1, size, out) == size, "short write of the input file");
    std::fclose(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Scratch scratch;

    const ulog::LogFileContent content = ulog::ParseLog(ulog::MemorySource(data, size));
    for (const LogEntry& entry : content.entries) {
        Check(static_cast<std::uint32_t>(entry.kind) < zu::kLogEntryKindCount, "kind out of range");
        Check(entry.detail >= -1 && entry.detail <= 0xFE, "detail out of range");
        Check(entry.backupPath.empty(), "a backup path was read");
        if (entry.kind == LogEntryKind::UninstallKey || entry.kind == LogEntryKind::Registration)
            Check(entry.text.empty(), "key or registration with a text");
        Check(entry.text.empty() || (!IsSpace(entry.text.front()) && !IsSpace(entry.text.back())), "text not trimmed");
    }
    Check(content.entries.empty() || content.version == 1, "entries from a log that is not version 1");

    WriteInput(scratch.file, data, size);
    zu::CUninstallLog log;
    log.Read(scratch.widePath);
    Check(log.earlierEntries() == content.entries, "file and memory readings differ");
    Check(log.earlierProduct() == content.product.value_or(L""), "product differs");

    // Written again (as the merge of a later run would) and read back: nothing is lost.
    std::vector<std::wstring> lines = ulog::HeaderLines(log.earlierProduct(), L"C:\\x", L"C:\\y");
    for (std::size_t i = 0; i < content.entries.size(); ++i) lines.push_back(ulog::EntryLine(i, content.entries[i]));
    // The writer can make a line longer than it was read (the index and kind padded, the
    // product put after the fixed text); such a line cannot be read back, and real paths and
    // product names never come near that length.
    for (const std::wstring& line : lines)
        if (ulog::EncodeLine(line).size() > ulog::kMaxLineBytes) return 0;
    const std::string again = ulog::EncodeLog(lines);
    const ulog::LogFileContent reread = ulog::ParseLog(ulog::MemorySource(again.data(), again.size()));
    Check(reread.stop == ulog::ReadStop::EndOfFile, "a written log does not read to its end");
    Check(reread.entries == content.entries, "entries changed on the way through the writer");
    return 0;
}
