// The format of "Uninstall.ulog", the record the uninstaller reads. The format is fixed: the
// uninstaller parses exactly these texts, so none of them may change.
//
//   FF FE, then UTF-16LE lines each ending in CR LF, nothing after the last one:
//   // Uninstall Log File v1
//   // ############ WARNING: Do not delete or modify this file. ############
//   // Install <product>[ -- Update (<earlier product>)]
//   // Install Path : <folder>
//   // Shortcut Path : <folder>
//   // <16 + length of the shortcut folder dashes>
//   0000:00ff:1 -- <text>        index : kind*256 + (detail & 0xFF) in hex : done -- text
//
// The reader also takes 8-bit text in the ANSI code page (no byte-order mark), reads lines
// of at most kMaxLineBytes bytes and stops at the first line it cannot make sense of, keeping
// what came before.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "system/uninstall_log.hpp"

namespace zu::ulog {

constexpr const wchar_t* kLogFileName = L"Uninstall.ulog";
constexpr const wchar_t* kHeaderVersion = L"Uninstall Log File v";
constexpr const wchar_t* kHeaderWarning = L"############ WARNING: Do not delete or modify this file. ############";
constexpr const wchar_t* kHeaderInstall = L"Install";
constexpr const wchar_t* kHeaderUpdate = L" -- Update (";
constexpr const wchar_t* kHeaderInstallPath = L"Install Path : ";
constexpr const wchar_t* kHeaderShortcutPath = L"Shortcut Path : ";
constexpr const wchar_t* kRegistrationText = L"HKEY_CLASSES_ROOT\\...";
constexpr const wchar_t* kMachineRoot = L"HKEY_LOCAL_MACHINE\\";
constexpr int kFormatVersion = 1;

// Attributes of a written log: read-only, archive, not content-indexed.
constexpr std::uint32_t kLogAttributes = journal_platform::kAttributeReadOnly |
                                         journal_platform::kAttributeArchive |
                                         journal_platform::kAttributeNotContentIndexed;
static_assert(kLogAttributes == 0x2021);

// The reader's line buffer holds 1,024 bytes: a line with its line end (and, on the first
// line, the byte-order mark) may take 1,022 of them, leaving room for a wide terminator.
constexpr std::size_t kLineBufferBytes = 1024;
constexpr std::size_t kMaxLineBytes = kLineBufferBytes - 2;

// The six header lines, without line ends.
std::vector<std::wstring> HeaderLines(const std::wstring& earlierProduct, const std::wstring& installPath,
                                      const std::wstring& shortcutPath);
// One entry line, without its line end; the key and registration entries get their fixed texts.
std::wstring EntryLine(std::size_t index, const LogEntry& entry);
// The file's bytes: the byte-order mark, then every line in UTF-16LE with CR LF.
std::string EncodeLog(const std::vector<std::wstring>& lines);
// The bytes of one line in UTF-16LE followed by CR LF.
std::string EncodeLine(const std::wstring& line);

// Writes lines as the log file at logPath. The file is made beside logPath and moved over it
// once every line is on disk, with the log's final attributes; an earlier (even read-only) log
// is replaced then, and left as it was when anything fails. False on any failure.
bool WriteLogFile(const std::wstring& logPath, const std::vector<std::wstring>& lines);

// Bytes into buffer: how many, 0 at the end, nullopt on a read error.
using ByteSource = std::function<std::optional<std::size_t>(void* buffer, std::size_t size)>;

// Why the reader stopped.
enum class ReadStop {
    EndOfFile,
    ReadError,
    LineTooLong,    // a line longer than kMaxLineBytes
    WrongVersion,   // line 0 is not a header of version 1 (an entry line before it counts too)
    BadHeader,      // line 2, 3 or 4 lacks its label
    BadEntry,       // neither a header line nor a well-formed entry line (a blank line included)
};

// What a log holds, as read, before any check against the machine.
struct LogFileContent {
    bool utf16 = false;  // a byte-order mark was found
    int version = 0;
    std::optional<std::wstring> product;       // header line 2, cut at "--", trimmed
    std::optional<std::wstring> installPath;   // header line 3, trimmed
    std::optional<std::wstring> shortcutPath;  // header line 4, trimmed
    std::vector<LogEntry> entries;             // the key and registration entries without text
    ReadStop stop = ReadStop::EndOfFile;
    std::size_t stopLine = 0;  // counted lines before the one that stopped the reading
};

LogFileContent ParseLog(const ByteSource& source);
// A source over bytes in memory.
ByteSource MemorySource(const void* data, std::size_t size);

const wchar_t* ReadStopText(ReadStop stop);

}  // namespace zu::ulog
