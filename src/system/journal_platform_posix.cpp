// The journal's system operations on a POSIX file system. Paths are UTF-8 on disk.
//
// Attributes: read-only is the owner's write permission (the other write bits go with it);
// the bits POSIX has no place for (archive, hidden, not content-indexed...) are kept per file
// (device and inode) for the life of the process, so that they follow a moved file and are
// copied with a file, as on Windows. The refusals Windows makes for read-only files (delete,
// overwrite, replace) are made here too, whatever the process's rights, so that code that
// forgets to clear the attribute fails natively as it would there.
#include "system/journal_platform.hpp"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace zu::journal_platform {
namespace {

std::string Utf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        auto code = static_cast<std::uint32_t>(c);
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | ((code >> 18) & 0x07)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const std::size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size()) {  // not UTF-8: taken byte for byte
            out.push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        std::uint32_t code = length == 1 ? b : (b & (0x7Fu >> length));
        for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        out.push_back(static_cast<wchar_t>(code));
        i += length;
    }
    return out;
}

using FileId = std::pair<dev_t, ino_t>;

std::map<FileId, std::uint32_t>& ExtraAttributes() {
    static std::map<FileId, std::uint32_t> attributes;
    return attributes;
}

constexpr std::uint32_t kKeptHere = kAttributeReadOnly | kAttributeDirectory | kAttributeNormal;

bool Stat(const std::wstring& path, struct stat& st) { return !path.empty() && ::stat(Utf8(path).c_str(), &st) == 0; }

bool IsReadOnly(const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; }

// A regular file there that Windows would refuse to change because it is read-only.
bool IsReadOnlyFile(const std::wstring& path) {
    struct stat st;
    return Stat(path, st) && S_ISREG(st.st_mode) && IsReadOnly(st);
}

void SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool CopyContent(const std::string& from, const std::string& to, mode_t mode) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode | S_IWUSR);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) {
                ok = false;
                break;
            }
            done += put;
        }
        if (!ok) break;
    }
    ok = ::close(out) == 0 && ok;
    ::close(in);
    return ok;
}

}  // namespace

std::optional<std::uint32_t> get_attributes(const std::wstring& path) {
    struct stat st;
    if (!Stat(path, st)) return std::nullopt;
    std::uint32_t attributes = 0;
    auto extra = ExtraAttributes().find({st.st_dev, st.st_ino});
    if (extra != ExtraAttributes().end()) attributes = extra->second;
    if (IsReadOnly(st)) attributes |= kAttributeReadOnly;
    if (S_ISDIR(st.st_mode)) attributes |= kAttributeDirectory;
    return attributes == 0 ? kAttributeNormal : attributes;
}

bool set_attributes(const std::wstring& path, std::uint32_t attributes) {
    struct stat st;
    if (!Stat(path, st)) return false;
    const mode_t mode = (attributes & kAttributeReadOnly) ? (st.st_mode & ~mode_t{0222}) : (st.st_mode | S_IWUSR);
    if (::chmod(Utf8(path).c_str(), mode & 07777) != 0) return false;
    const std::uint32_t extra = attributes & ~kKeptHere;
    if (extra != 0)
        ExtraAttributes()[{st.st_dev, st.st_ino}] = extra;
    else
        ExtraAttributes().erase({st.st_dev, st.st_ino});
    return true;
}

bool delete_file(const std::wstring& path) {
    struct stat st;
    if (!Stat(path, st) || S_ISDIR(st.st_mode) || IsReadOnly(st)) return false;
    if (::unlink(Utf8(path).c_str()) != 0) return false;
    if (st.st_nlink <= 1) ExtraAttributes().erase({st.st_dev, st.st_ino});
    return true;
}

bool copy_file(const std::wstring& from, const std::wstring& to) {
    struct stat st;
    if (!Stat(from, st) || !S_ISREG(st.st_mode) || IsReadOnlyFile(to)) return false;
    const std::string target = Utf8(to);
    if (!CopyContent(Utf8(from), target, st.st_mode & 0777)) return false;
    // The copy takes the original's attributes, as the system's copy does.
    std::optional<std::uint32_t> attributes = get_attributes(from);
    return set_attributes(to, attributes.value_or(kAttributeNormal));
}

bool move_file(const std::wstring& from, const std::wstring& to) {
    struct stat st;
    if (!Stat(from, st) || exists(to)) return false;
    const std::string source = Utf8(from), target = Utf8(to);
    if (::rename(source.c_str(), target.c_str()) == 0) return true;
    if (errno != EXDEV || S_ISDIR(st.st_mode)) return false;
    // Another volume: copy, then remove the original.
    const std::optional<std::uint32_t> attributes = get_attributes(from);
    if (!CopyContent(source, target, st.st_mode & 0777)) {
        ::unlink(target.c_str());
        return false;
    }
    set_attributes(to, attributes.value_or(kAttributeNormal));
    ExtraAttributes().erase({st.st_dev, st.st_ino});
    return ::unlink(source.c_str()) == 0;
}

bool replace_file(const std::wstring& from, const std::wstring& to) {
    struct stat st, replaced;
    if (!Stat(from, st) || IsReadOnlyFile(to)) return false;
    const bool hadTarget = Stat(to, replaced);
    const std::string target = Utf8(to);
    if (::rename(Utf8(from).c_str(), target.c_str()) != 0) return false;
    if (hadTarget && replaced.st_nlink <= 1) ExtraAttributes().erase({replaced.st_dev, replaced.st_ino});
    SyncFolderOf(target);
    return true;
}

bool create_folder(const std::wstring& path) { return !path.empty() && ::mkdir(Utf8(path).c_str(), 0777) == 0; }

bool remove_folder(const std::wstring& path) { return !path.empty() && ::rmdir(Utf8(path).c_str()) == 0; }

bool is_folder(const std::wstring& path) {
    struct stat st;
    return Stat(path, st) && S_ISDIR(st.st_mode);
}

bool exists(const std::wstring& path) {
    struct stat st;
    return Stat(path, st);
}

void notify_folder_created(const std::wstring&) {}

std::optional<std::wstring> temp_folder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp && *tmp ? tmp : "/tmp";
    if (folder.back() != '/') folder.push_back('/');
    return FromUtf8(folder);
}

std::optional<std::wstring> make_temp_file(const std::wstring& folder, const wchar_t* prefix) {
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'/') base.push_back(L'/');
    // Like the system: up to three characters of the prefix, four hexadecimal digits, ".tmp".
    base += std::wstring(prefix).substr(0, 3);
    static unsigned counter = static_cast<unsigned>(::getpid()) * 7919u;
    for (int tries = 0; tries < 0x10000; ++tries) {
        const unsigned unique = ++counter & 0xFFFF;
        if (unique == 0) continue;
        wchar_t digits[8];
        std::swprintf(digits, 8, L"%X", unique);
        const std::wstring name = base + digits + L".tmp";
        const int fd = ::open(Utf8(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

Identity compare_identity(const std::wstring& a, const std::wstring& b) {
    struct stat sa, sb;
    const bool openA = Stat(a, sa), openB = Stat(b, sb);
    if (openA != openB) return Identity::different;
    if (!openA) return Identity::unknown;
    const bool same = sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino && sa.st_size == sb.st_size &&
                      sa.st_mtim.tv_sec == sb.st_mtim.tv_sec && sa.st_mtim.tv_nsec == sb.st_mtim.tv_nsec;
    return same ? Identity::same : Identity::different;
}

std::optional<std::wstring> absolute_path(const std::wstring& path) {
    if (!path.empty() && path[0] == L'/') return path;
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer)) return std::nullopt;
    return FromUtf8(buffer) + L"/" + path;
}

bool equal_ignoring_case(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
    return true;
}

std::wstring ansi_to_wide(const char* bytes, std::size_t count) {
    // Windows-1252, the ANSI code page of the western systems; its five unassigned bytes map
    // to the control characters of the same value, as the system's conversion does.
    static constexpr char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::wstring out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out.push_back(b >= 0x80 && b < 0xA0 ? static_cast<wchar_t>(high[b - 0x80]) : static_cast<wchar_t>(b));
    }
    return out;
}

void file_traits::close(value_type file) noexcept { ::close(static_cast<int>(file)); }

unique_file open_for_reading(const std::wstring& path) {
    if (path.empty()) return unique_file{};
    const int fd = ::open(Utf8(path).c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
        ::close(fd);
        return unique_file{};
    }
    return unique_file{fd};
}

unique_file create_for_writing(const std::wstring& path) {
    if (path.empty() || IsReadOnlyFile(path)) return unique_file{};
    return unique_file{::open(Utf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)};
}

std::optional<std::size_t> read(const unique_file& file, void* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(file.get()), buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return std::nullopt;
    }
}

bool write(const unique_file& file, const void* data, std::size_t size) {
    auto bytes = static_cast<const char*>(data);
    while (size != 0) {
        const ssize_t put = ::write(static_cast<int>(file.get()), bytes, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

bool flush(const unique_file& file) { return ::fsync(static_cast<int>(file.get())) == 0; }

}  // namespace zu::journal_platform
