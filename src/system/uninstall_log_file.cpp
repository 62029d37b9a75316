// The file side of CUninstallLog: the writer, the reader and the format they share.
#include "system/uninstall_log_file.hpp"

#include <algorithm>
#include <cstring>
#include <memory>

#include "support/product_identity.hpp"

namespace zu {

namespace fs = journal_platform;

namespace ulog {
namespace {

// The reader's idea of white space, the same on every platform.
bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r'; }

void TrimRight(std::wstring& s) {
    std::size_t end = s.size();
    while (end > 0 && IsSpace(s[end - 1])) --end;
    s.erase(end);
}

void TrimLeft(std::wstring& s) {
    std::size_t start = 0;
    while (start < s.size() && IsSpace(s[start])) ++start;
    s.erase(0, start);
}

void Trim(std::wstring& s) {
    TrimRight(s);
    TrimLeft(s);
}

// Removes the first occurrence of what from s; false when there is none.
bool RemoveFirst(std::wstring& s, const wchar_t* what) {
    const std::size_t at = s.find(what);
    if (at == std::wstring::npos) return false;
    s.erase(at, std::wcslen(what));
    return true;
}

std::wstring Padded(std::uint32_t value, unsigned base) {
    static constexpr wchar_t digits[] = L"0123456789abcdef";
    std::wstring out;
    do {
        out.insert(out.begin(), digits[value % base]);
        value /= base;
    } while (value != 0);
    if (out.size() < 4) out.insert(0, 4 - out.size(), L'0');
    return out;
}

std::wstring PaddedDecimal(std::size_t value) {
    std::wstring out = std::to_wstring(value);
    if (out.size() < 4) out.insert(0, 4 - out.size(), L'0');
    return out;
}

void AppendUnit(std::string& bytes, std::uint32_t unit) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
}

void AppendUtf16Le(std::string& bytes, const std::wstring& text) {
    for (wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code > 0xFFFF && code <= 0x10FFFF) {  // only where wchar_t holds whole code points
            AppendUnit(bytes, 0xD800 + ((code - 0x10000) >> 10));
            AppendUnit(bytes, 0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            AppendUnit(bytes, code);
        }
    }
}

std::wstring FromUtf16(const std::vector<std::uint16_t>& units) {
    std::wstring out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t unit = units[i];
        if constexpr (sizeof(wchar_t) > 2) {
            if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                units[i + 1] < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00);
                ++i;
            }
        }
        out.push_back(static_cast<wchar_t>(unit));
    }
    return out;
}

// Splits the source into lines as the log's reader does: the encoding is settled by the first
// two bytes, a line ends after its line feed, and no line may exceed kMaxLineBytes.
class LineReader {
public:
    enum class Status { Line, End, ReadError, TooLong };

    explicit LineReader(const ByteSource& source) : source_(source) {}

    bool utf16() const { return utf16_; }

    Status Next(std::wstring& line) {
        line.clear();
        std::size_t lineBytes = 0;
        if (first_) {
            first_ = false;
            int b0 = Byte();
            if (b0 == kError) return Status::ReadError;
            int b1 = b0 == kEnd ? kEnd : Byte();
            if (b1 == kError) return Status::ReadError;
            if (b0 == 0xFF && b1 == 0xFE) {
                utf16_ = true;
                lineBytes = 2;
            } else {
                if (b1 >= 0) PushBack(b1);
                if (b0 >= 0) PushBack(b0);
            }
        }
        return utf16_ ? NextUtf16(line, lineBytes) : NextAnsi(line, lineBytes);
    }

private:
    static constexpr int kEnd = -1;
    static constexpr int kError = -2;

    Status NextUtf16(std::wstring& line, std::size_t lineBytes) {
        std::vector<std::uint16_t> units;
        for (;;) {
            const int lo = Byte();
            if (lo == kError) return Status::ReadError;
            if (lo == kEnd) break;
            const int hi = Byte();
            if (hi == kError) return Status::ReadError;
            if (hi == kEnd) break;  // half a code unit at the very end carries no character
            lineBytes += 2;
            if (lineBytes > kMaxLineBytes) return Status::TooLong;
            const auto unit = static_cast<std::uint16_t>(lo | (hi << 8));
            units.push_back(unit);
            if (unit == 0x000A) break;
        }
        if (units.empty()) return Status::End;
        line = FromUtf16(units);
        return Status::Line;
    }

    Status NextAnsi(std::wstring& line, std::size_t lineBytes) {
        std::string bytes;
        for (;;) {
            const int b = Byte();
            if (b == kError) return Status::ReadError;
            if (b == kEnd) break;
            if (++lineBytes > kMaxLineBytes) return Status::TooLong;
            bytes.push_back(static_cast<char>(b));
            if (b == '\n') break;
        }
        if (bytes.empty()) return Status::End;
        line = fs::ansi_to_wide(bytes.data(), bytes.size());
        return Status::Line;
    }

    int Byte() {
        if (!pushedBack_.empty()) {
            const int b = pushedBack_.back();
            pushedBack_.pop_back();
            return b;
        }
        if (position_ == filled_) {
            if (ended_) return kEnd;
            std::optional<std::size_t> got = source_(chunk_, sizeof chunk_);
            if (!got || *got > sizeof chunk_) return kError;
            if (*got == 0) {
                ended_ = true;
                return kEnd;
            }
            position_ = 0;
            filled_ = *got;
        }
        return chunk_[position_++];
    }

    void PushBack(int b) { pushedBack_.push_back(b); }

    const ByteSource& source_;
    unsigned char chunk_[4096];
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    bool ended_ = false;
    bool first_ = true;
    bool utf16_ = false;
    std::vector<int> pushedBack_;
};

// Reads fields off the front of an entry line; white space is allowed before each.
class FieldReader {
public:
    explicit FieldReader(const std::wstring& line) : line_(line) {}

    std::optional<std::int64_t> Decimal() {
        SkipSpace();
        bool negative = false;
        if (pos_ < line_.size() && (line_[pos_] == L'+' || line_[pos_] == L'-')) negative = line_[pos_++] == L'-';
        std::int64_t value = 0;
        std::size_t digits = 0;
        for (; pos_ < line_.size() && line_[pos_] >= L'0' && line_[pos_] <= L'9'; ++pos_, ++digits) {
            value = value * 10 + (line_[pos_] - L'0');
            if (value > 0x7FFFFFFF) return std::nullopt;
        }
        if (digits == 0) return std::nullopt;
        return negative ? -value : value;
    }

    std::optional<std::uint32_t> Hex() {
        SkipSpace();
        std::uint64_t value = 0;
        std::size_t digits = 0;
        for (; pos_ < line_.size(); ++pos_, ++digits) {
            const wchar_t c = line_[pos_];
            int d = c >= L'0' && c <= L'9' ? c - L'0'
                    : c >= L'a' && c <= L'f' ? c - L'a' + 10
                    : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                               : -1;
            if (d < 0) break;
            value = value * 16 + static_cast<unsigned>(d);
            if (value > 0xFFFFFFFFull) return std::nullopt;
        }
        if (digits == 0) return std::nullopt;
        return static_cast<std::uint32_t>(value);
    }

    std::optional<wchar_t> Char() {
        SkipSpace();
        if (pos_ == line_.size()) return std::nullopt;
        return line_[pos_++];
    }

    std::wstring Word() {
        SkipSpace();
        const std::size_t start = pos_;
        while (pos_ < line_.size() && !IsSpace(line_[pos_])) ++pos_;
        return line_.substr(start, pos_ - start);
    }

    std::wstring Rest() {
        SkipSpace();
        return line_.substr(pos_);
    }

private:
    void SkipSpace() {
        while (pos_ < line_.size() && IsSpace(line_[pos_])) ++pos_;
    }

    const std::wstring& line_;
    std::size_t pos_ = 0;
};

std::optional<LogEntry> ParseEntry(const std::wstring& line) {
    FieldReader fields(line);
    std::optional<std::int64_t> index = fields.Decimal();
    if (!index || *index < 0) return std::nullopt;
    if (fields.Char() != L':') return std::nullopt;
    std::optional<std::uint32_t> value = fields.Hex();
    if (!value || *value / 256 >= kLogEntryKindCount) return std::nullopt;
    if (fields.Char() != L':') return std::nullopt;
    std::optional<wchar_t> done = fields.Char();
    if (done != L'0' && done != L'1') return std::nullopt;
    if (fields.Word() != L"--") return std::nullopt;

    LogEntry entry;
    entry.kind = static_cast<LogEntryKind>(*value / 256);
    const std::uint32_t low = *value & 0xFF;
    entry.detail = low == 0xFF ? -1 : static_cast<std::int32_t>(low);
    entry.done = done == L'1';
    // The key and the registration have fixed texts in the file; in memory they have none.
    if (entry.kind != LogEntryKind::UninstallKey && entry.kind != LogEntryKind::Registration)
        entry.text = fields.Rest();
    return entry;
}

// One header line (the leading slashes already gone); false stops the reading.
bool TakeHeader(std::size_t lineNumber, std::wstring line, LogFileContent& content) {
    switch (lineNumber) {
        case 0: {
            if (RemoveFirst(line, kHeaderVersion)) {
                FieldReader fields(line);
                if (std::optional<std::int64_t> version = fields.Decimal()) content.version = static_cast<int>(*version);
            }
            if (content.version != kFormatVersion) {
                content.stop = ReadStop::WrongVersion;
                return false;
            }
            return true;
        }
        case 2: {
            if (!RemoveFirst(line, kHeaderInstall)) break;
            const std::size_t dashes = line.find(L"--");
            if (dashes != std::wstring::npos) line.erase(dashes);
            Trim(line);
            content.product = std::move(line);
            return true;
        }
        case 3:
        case 4: {
            if (!RemoveFirst(line, lineNumber == 3 ? kHeaderInstallPath : kHeaderShortcutPath)) break;
            Trim(line);
            (lineNumber == 3 ? content.installPath : content.shortcutPath) = std::move(line);
            return true;
        }
        default: return true;
    }
    content.stop = ReadStop::BadHeader;
    return false;
}

}  // namespace

std::vector<std::wstring> HeaderLines(const std::wstring& earlierProduct, const std::wstring& installPath,
                                      const std::wstring& shortcutPath) {
    std::wstring install = std::wstring(L"// ") + kHeaderInstall + L" " + ProductIdentity::fullName;
    if (!earlierProduct.empty()) install += kHeaderUpdate + earlierProduct + L")";
    const std::wstring shortcutLabel = kHeaderShortcutPath;
    return {
        std::wstring(L"// ") + kHeaderVersion + std::to_wstring(kFormatVersion),
        std::wstring(L"// ") + kHeaderWarning,
        install,
        std::wstring(L"// ") + kHeaderInstallPath + installPath,
        std::wstring(L"// ") + shortcutLabel + shortcutPath,
        // As many dashes as the shortcut line has characters after "// ".
        L"// " + std::wstring(shortcutLabel.size() + shortcutPath.size(), L'-'),
    };
}

std::wstring EntryLine(std::size_t index, const LogEntry& entry) {
    const auto kind = static_cast<std::uint32_t>(entry.kind);
    const auto field = kind * 256 + (static_cast<std::uint32_t>(entry.detail) & 0xFF);
    std::wstring line = PaddedDecimal(index) + L":" + Padded(field, 16) + L":" + (entry.done ? L"1" : L"0") + L" -- ";
    if (entry.kind == LogEntryKind::UninstallKey)
        line += std::wstring(kMachineRoot) + ProductIdentity::uninstallKey;
    else if (entry.kind == LogEntryKind::Registration)
        line += kRegistrationText;
    else
        line += entry.text;
    return line;
}

std::string EncodeLine(const std::wstring& line) {
    std::string bytes;
    bytes.reserve(line.size() * 2 + 4);
    AppendUtf16Le(bytes, line);
    AppendUtf16Le(bytes, L"\r\n");
    return bytes;
}

std::string EncodeLog(const std::vector<std::wstring>& lines) {
    std::string bytes = "\xFF\xFE";
    for (const std::wstring& line : lines) bytes += EncodeLine(line);
    return bytes;
}

bool WriteLogFile(const std::wstring& logPath, const std::vector<std::wstring>& lines) {
    // The new log is made complete beside the old one and only then put in its place, so a
    // failure or a crash midway never leaves the uninstaller without its record.
    const std::wstring staging = logPath + L".new";
    fs::set_attributes(staging, fs::kAttributeNormal);  // a leftover of an interrupted run
    bool ok = false;
    {
        fs::unique_file file = fs::create_for_writing(staging);
        if (!file) return false;
        ok = fs::write(file, "\xFF\xFE", 2);
        for (const std::wstring& line : lines) {
            const std::string bytes = EncodeLine(line);
            ok = fs::write(file, bytes.data(), bytes.size()) && ok;
        }
        ok = fs::flush(file) && ok;
    }
    // The attributes go on before the move, so the log never shows up without them.
    ok = ok && fs::set_attributes(staging, kLogAttributes);
    if (ok) {
        const std::optional<std::uint32_t> earlier = fs::get_attributes(logPath);
        if (earlier) fs::set_attributes(logPath, fs::kAttributeNormal);
        ok = fs::replace_file(staging, logPath);
        if (!ok && earlier) fs::set_attributes(logPath, *earlier);
    }
    if (!ok) {
        fs::set_attributes(staging, fs::kAttributeNormal);
        fs::delete_file(staging);
    }
    return ok;
}

LogFileContent ParseLog(const ByteSource& source) {
    LogFileContent content;
    LineReader reader(source);
    std::size_t lineNumber = 0;
    std::wstring line;
    for (;;) {
        const LineReader::Status status = reader.Next(line);
        content.utf16 = reader.utf16();
        content.stopLine = lineNumber;
        if (status == LineReader::Status::End) break;
        if (status == LineReader::Status::ReadError) {
            content.stop = ReadStop::ReadError;
            break;
        }
        if (status == LineReader::Status::TooLong) {
            // Such a line was not written by this installer; the file is damaged or edited,
            // and, as with any other line that makes no sense, the reading ends here.
            content.stop = ReadStop::LineTooLong;
            break;
        }
        TrimRight(line);
        if (line.compare(0, 2, L"//") == 0) {
            std::size_t slashes = 0;
            while (slashes < line.size() && line[slashes] == L'/') ++slashes;
            line.erase(0, slashes);
            TrimLeft(line);
            if (!TakeHeader(lineNumber, std::move(line), content)) break;
        } else {
            if (content.version != kFormatVersion) {
                content.stop = ReadStop::WrongVersion;
                break;
            }
            std::optional<LogEntry> entry = ParseEntry(line);
            if (!entry) {
                content.stop = ReadStop::BadEntry;
                break;
            }
            content.entries.push_back(std::move(*entry));
        }
        ++lineNumber;
    }
    return content;
}

ByteSource MemorySource(const void* data, std::size_t size) {
    auto bytes = static_cast<const unsigned char*>(data);
    auto offset = std::make_shared<std::size_t>(0);
    return [bytes, size, offset](void* buffer, std::size_t wanted) -> std::optional<std::size_t> {
        const std::size_t n = std::min(wanted, size - *offset);
        if (n != 0) std::memcpy(buffer, bytes + *offset, n);
        *offset += n;
        return n;
    };
}

const wchar_t* ReadStopText(ReadStop stop) {
    switch (stop) {
        case ReadStop::EndOfFile: return L"end of file";
        case ReadStop::ReadError: return L"read error";
        case ReadStop::LineTooLong: return L"line longer than 1022 bytes";
        case ReadStop::WrongVersion: return L"not a version 1 log";
        case ReadStop::BadHeader: return L"header line without its label";
        case ReadStop::BadEntry: return L"not an entry line";
    }
    return L"?";
}

}  // namespace ulog

bool CUninstallLog::Write(const std::wstring& logPath, const std::wstring& installPath,
                          const std::wstring& shortcutPath) {
    currentEntries_ = MergeEntries(std::move(earlierEntries_), std::move(currentEntries_));
    earlierEntries_.clear();

    std::vector<std::wstring> lines = ulog::HeaderLines(earlierProduct_, installPath, shortcutPath);
    for (std::size_t i = 0; i < currentEntries_.size(); ++i) lines.push_back(ulog::EntryLine(i, currentEntries_[i]));
    const bool written = ulog::WriteLogFile(logPath, lines);

    // The run is over either way: what the saved copies could undo is now kept.
    for (LogEntry& entry : currentEntries_) {
        if (entry.backupPath.empty()) continue;
        fs::set_attributes(entry.backupPath, fs::kAttributeNormal);
        fs::delete_file(entry.backupPath);
        entry.backupPath.clear();
    }
    return written;
}

void CUninstallLog::Read(const std::optional<std::wstring>& logPath) {
    installPath_.clear();
    shortcutPath_.clear();
    if (!logPath) return;
    fs::unique_file file = fs::open_for_reading(*logPath);
    if (!file) return;
    ulog::LogFileContent content =
        ulog::ParseLog([&file](void* buffer, std::size_t size) { return fs::read(file, buffer, size); });
    if (content.product) earlierProduct_ = std::move(*content.product);
    if (content.installPath && fs::is_folder(*content.installPath)) installPath_ = std::move(*content.installPath);
    if (content.shortcutPath && fs::is_folder(*content.shortcutPath)) shortcutPath_ = std::move(*content.shortcutPath);
    earlierEntries_.insert(earlierEntries_.end(), std::make_move_iterator(content.entries.begin()),
                           std::make_move_iterator(content.entries.end()));
}

}  // namespace zu
