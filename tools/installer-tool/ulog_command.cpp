// "ulog show FILE": prints what the installer's reader takes from a log, without looking at
// the machine (the folders are shown as written, whether they exist here or not), and where
// and why the reading stopped, which is what a support engineer needs to see.
#include "ulog_command.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "system/uninstall_log.hpp"
#include "system/uninstall_log_file.hpp"

namespace {

// Printable UTF-8; control characters are shown as \xNN so that an entry stays on its line.
std::string Printable(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        auto code = static_cast<std::uint32_t>(c);
        if (code < 0x20 || code == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(code));
            out += escaped;
        } else if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | ((code >> 18) & 0x07));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

std::string HeaderValue(const std::optional<std::wstring>& value) {
    return value ? "\"" + Printable(*value) + "\"" : "(not read)";
}

void Usage(std::ostream& err) {
    err << "usage: installer-tool ulog show FILE\n"
           "  prints the header values, the paths as written and every entry of an uninstall log\n";
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

int Show(const char* path, std::ostream& out, std::ostream& err) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) {
        err << "installer-tool ulog show: cannot read '" << path << "': " << std::strerror(errno) << "\n";
        return 1;
    }
    bool readError = false;
    const zu::ulog::LogFileContent content =
        zu::ulog::ParseLog([&](void* buffer, std::size_t size) -> std::optional<std::size_t> {
            const std::size_t got = std::fread(buffer, 1, size, file.get());
            if (got == 0 && std::ferror(file.get())) {
                readError = true;
                return std::nullopt;
            }
            return got;
        });
    if (readError && content.stopLine == 0 && content.entries.empty()) {
        err << "installer-tool ulog show: cannot read '" << path << "': " << std::strerror(errno) << "\n";
        return 1;
    }

    out << "file:          " << path << "\n"
        << "encoding:      " << (content.utf16 ? "UTF-16LE (byte-order mark)" : "ANSI code page (no byte-order mark)") << "\n"
        << "version:       " << content.version << "\n"
        << "product:       " << HeaderValue(content.product) << "\n"
        << "install path:  " << HeaderValue(content.installPath) << "\n"
        << "shortcut path: " << HeaderValue(content.shortcutPath) << "\n"
        << "entries:       " << content.entries.size() << "\n";
    if (!content.entries.empty()) out << "index  kind               detail  done  text\n";
    for (std::size_t i = 0; i < content.entries.size(); ++i) {
        const zu::LogEntry& entry = content.entries[i];
        std::ostringstream line;
        line << std::setw(4) << std::setfill('0') << i << std::setfill(' ') << "   " << std::left << std::setw(19)
             << Printable(zu::LogEntryKindName(entry.kind)) << std::setw(8) << entry.detail << std::setw(6)
             << (entry.done ? 1 : 0) << Printable(entry.text);
        out << line.str() << "\n";
    }
    out << "read:          ";
    if (content.stop == zu::ulog::ReadStop::EndOfFile)
        out << "to the end of the file\n";
    else
        out << "stopped at line " << content.stopLine << " (counted from 0): "
            << Printable(zu::ulog::ReadStopText(content.stop)) << "\n";
    return 0;
}

}  // namespace

int run_ulog_command(int argc, char** argv, std::ostream& out, std::ostream& err) {
    if (argc == 2 && std::strcmp(argv[0], "show") == 0) return Show(argv[1], out, err);
    Usage(err);
    return 2;
}

int run_ulog_command(int argc, char** argv) { return run_ulog_command(argc, argv, std::cout, std::cerr); }
