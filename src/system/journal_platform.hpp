// The system operations the uninstall log needs, and nothing more. Two implementations:
// journal_platform_win32.cpp makes the real calls; journal_platform_posix.cpp works on ordinary
// files and keeps the registry in memory (see registry_double.hpp), so that the journal, the
// merge, the writer and the reader run natively too.
//
// Every operation answers like the call it stands for: a bool, an optional or an empty string
// on failure, never an exception. Paths are wide strings as the log holds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "support/unique_resource.hpp"

#ifdef _WIN32
struct HKEY__;
#endif

namespace zu {

#ifdef _WIN32
using RegistryKey = HKEY__*;  // an open HKEY
#else
struct FakeRegistryKey;
using RegistryKey = FakeRegistryKey*;  // a key opened in the in-memory registry
#endif

namespace journal_platform {

// File attribute bits, with the values the file system uses.
constexpr std::uint32_t kAttributeReadOnly = 0x0001;
constexpr std::uint32_t kAttributeDirectory = 0x0010;
constexpr std::uint32_t kAttributeArchive = 0x0020;
constexpr std::uint32_t kAttributeNormal = 0x0080;
constexpr std::uint32_t kAttributeNotContentIndexed = 0x2000;

std::optional<std::uint32_t> get_attributes(const std::wstring& path);
bool set_attributes(const std::wstring& path, std::uint32_t attributes);

// Like the system: a read-only file can be neither deleted nor overwritten.
bool delete_file(const std::wstring& path);
bool copy_file(const std::wstring& from, const std::wstring& to);  // overwrites `to`
bool move_file(const std::wstring& from, const std::wstring& to);  // fails when `to` exists
// Puts `from` in the place of `to` in one step (same folder), through to the disk.
bool replace_file(const std::wstring& from, const std::wstring& to);

bool create_folder(const std::wstring& path);  // one level, default security
bool remove_folder(const std::wstring& path);  // only an empty folder
bool is_folder(const std::wstring& path);
bool exists(const std::wstring& path);  // file or folder
void notify_folder_created(const std::wstring& path);

// The user's temporary folder, ending in a separator; nullopt when it cannot be had.
std::optional<std::wstring> temp_folder();
// A fresh name in `folder` starting with `prefix`; the call creates the (empty) file.
std::optional<std::wstring> make_temp_file(const std::wstring& folder, const wchar_t* prefix);

enum class Identity { same, different, unknown };
// same/different when both paths open and their volume, file index, size and last-write time
// can be compared; different when exactly one opens; unknown otherwise.
Identity compare_identity(const std::wstring& a, const std::wstring& b);
// The path made absolute against the current folder (nullopt when that fails).
std::optional<std::wstring> absolute_path(const std::wstring& path);
// Equal lengths and equal code units without regard to case.
bool equal_ignoring_case(const std::wstring& a, const std::wstring& b);

// Text of the system's ANSI code page to UTF-16.
std::wstring ansi_to_wide(const char* bytes, std::size_t count);

// Open files. The value is the system's handle or descriptor; -1 is none.
struct file_traits {
    using value_type = std::intptr_t;
    static value_type invalid() noexcept { return -1; }
    static void close(value_type file) noexcept;
};
using unique_file = unique_resource<file_traits>;

unique_file open_for_reading(const std::wstring& path);   // shared for reading only
unique_file create_for_writing(const std::wstring& path);  // truncates; not shared
// Bytes read, 0 at the end of the file, nullopt on a read error.
std::optional<std::size_t> read(const unique_file& file, void* buffer, std::size_t size);
bool write(const unique_file& file, const void* data, std::size_t size);
bool flush(const unique_file& file);

// Saves an open key with its values and subkeys to `file`, which must not exist yet.
// Holds SeBackupPrivilege for the call on Windows.
bool save_registry_key(RegistryKey key, const std::wstring& file);
// Replaces the content of HKEY_LOCAL_MACHINE\parent\name by what `file` holds.
// Holds SeRestorePrivilege for the call on Windows.
bool restore_registry_key(const wchar_t* parent, const wchar_t* name, const std::wstring& file);
// Deletes HKEY_LOCAL_MACHINE\parent\name with all its subkeys.
bool delete_registry_key_tree(const wchar_t* parent, const wchar_t* name);

}  // namespace journal_platform
}  // namespace zu
