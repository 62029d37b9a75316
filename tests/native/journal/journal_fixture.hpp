// A private world per test: a fresh folder with a temporary folder inside it (TMPDIR points
// there, so the journal's backups stay inside), and an empty in-memory registry. Files are
// made and inspected with plain POSIX calls, not through the journal's own layer.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "system/registry_double.hpp"
#include "system/uninstall_log.hpp"

namespace journal_test {

inline std::string Utf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        auto code = static_cast<std::uint32_t>(c);
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// ASCII only: for folder names the system gave us.
inline std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The UTF-16LE bytes of text (code points above U+FFFF as surrogate pairs).
inline std::string Utf16(const std::wstring& text) {
    std::string out;
    auto unit = [&out](std::uint32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (wchar_t c : text) {
        auto code = static_cast<std::uint32_t>(c);
        if (code > 0xFFFF) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
    }
    return out;
}

// A whole UTF-16LE log: byte-order mark, every line with CR LF.
inline std::string Utf16Log(const std::vector<std::wstring>& lines) {
    std::string out = "\xFF\xFE";
    for (const std::wstring& line : lines) out += Utf16(line + L"\r\n");
    return out;
}

class JournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zu-journal-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        temp_ = root_ + "/temp";
        ASSERT_EQ(::mkdir(temp_.c_str(), 0777), 0);
        const char* old = std::getenv("TMPDIR");
        if (old) oldTmp_ = old;
        hadTmp_ = old != nullptr;
        ::setenv("TMPDIR", temp_.c_str(), 1);
        zu::registry_double::reset();
    }

    void TearDown() override {
        if (hadTmp_)
            ::setenv("TMPDIR", oldTmp_.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        zu::registry_double::reset();
        RemoveTree(root_);
    }

    // A path below the test's folder, as the journal sees it.
    std::wstring P(const std::wstring& relative = L"") const {
        return relative.empty() ? Widen(root_) : Widen(root_) + L"/" + relative;
    }

    static void WriteBytes(const std::wstring& path, const std::string& bytes) {
        std::ofstream out(Utf8(path), std::ios::binary | std::ios::trunc);
        out << bytes;
        ASSERT_TRUE(out.good()) << Utf8(path);
    }

    static std::string ReadBytes(const std::wstring& path) {
        std::ifstream in(Utf8(path), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static bool Exists(const std::wstring& path) {
        struct stat st;
        return ::lstat(Utf8(path).c_str(), &st) == 0;
    }

    static bool IsFolder(const std::wstring& path) {
        struct stat st;
        return ::stat(Utf8(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    static bool IsWritable(const std::wstring& path) {
        struct stat st;
        return ::stat(Utf8(path).c_str(), &st) == 0 && (st.st_mode & S_IWUSR) != 0;
    }

    static void MakeFolder(const std::wstring& path) { ASSERT_EQ(::mkdir(Utf8(path).c_str(), 0777), 0) << Utf8(path); }

    // Names in the temporary folder: the backups the journal still holds.
    std::vector<std::string> TempFiles() const { return List(temp_); }

    static std::vector<std::string> List(const std::string& folder) {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (dirent* e = ::readdir(dir))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
            ::closedir(dir);
        }
        return names;
    }

    std::string root_;
    std::string temp_;

private:
    static void RemoveTree(const std::string& path) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) return;
        if (S_ISDIR(st.st_mode)) {
            ::chmod(path.c_str(), 0777);
            for (const std::string& name : List(path)) RemoveTree(path + "/" + name);
            ::rmdir(path.c_str());
        } else {
            ::unlink(path.c_str());
        }
    }

    std::string oldTmp_;
    bool hadTmp_ = false;
};

}  // namespace journal_test
