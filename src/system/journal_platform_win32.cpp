// The journal's system operations: the Win32 calls themselves.
#include "system/journal_platform.hpp"

#include <type_traits>

#include "support/windows_api.hpp"
#include "system/privileges.hpp"

static_assert(std::is_same_v<HKEY, zu::RegistryKey>, "RegistryKey must be the system's HKEY");

namespace zu::journal_platform {
namespace {

HANDLE AsHandle(std::intptr_t file) { return reinterpret_cast<HANDLE>(file); }

// Holds a token privilege for a scope; the switch may fail, and the call is tried anyway.
class PrivilegeScope {
public:
    explicit PrivilegeScope(const wchar_t* name) : name_(name) { SetPrivilege(name_, true); }
    ~PrivilegeScope() { SetPrivilege(name_, false); }
    PrivilegeScope(const PrivilegeScope&) = delete;
    PrivilegeScope& operator=(const PrivilegeScope&) = delete;

private:
    const wchar_t* name_;
};

unique_registry_key OpenMachineKey(const wchar_t* path) {
    unique_registry_key key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) key.reset();
    return key;
}

bool Information(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info, bool& opened) {
    unique_file_handle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    opened = static_cast<bool>(file);
    return opened && ::GetFileInformationByHandle(file.get(), &info);
}

}  // namespace

std::optional<std::uint32_t> get_attributes(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

bool set_attributes(const std::wstring& path, std::uint32_t attributes) {
    return ::SetFileAttributesW(path.c_str(), attributes) != FALSE;
}

bool delete_file(const std::wstring& path) { return ::DeleteFileW(path.c_str()) != FALSE; }

bool copy_file(const std::wstring& from, const std::wstring& to) {
    return ::CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

bool move_file(const std::wstring& from, const std::wstring& to) {
    return ::MoveFileW(from.c_str(), to.c_str()) != FALSE;
}

bool replace_file(const std::wstring& from, const std::wstring& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool create_folder(const std::wstring& path) { return ::CreateDirectoryW(path.c_str(), nullptr) != FALSE; }

bool remove_folder(const std::wstring& path) { return ::RemoveDirectoryW(path.c_str()) != FALSE; }

bool is_folder(const std::wstring& path) { return ::PathIsDirectoryW(path.c_str()) != FALSE; }

bool exists(const std::wstring& path) { return ::PathFileExistsW(path.c_str()) != FALSE; }

void notify_folder_created(const std::wstring& path) {
    ::SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW | SHCNF_FLUSH, path.c_str(), nullptr);
}

std::optional<std::wstring> temp_folder() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = ::GetTempPathW(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    return std::wstring(buffer, length);
}

std::optional<std::wstring> make_temp_file(const std::wstring& folder, const wchar_t* prefix) {
    wchar_t buffer[MAX_PATH];
    if (::GetTempFileNameW(folder.c_str(), prefix, 0, buffer) == 0) return std::nullopt;
    return std::wstring(buffer);
}

Identity compare_identity(const std::wstring& a, const std::wstring& b) {
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    bool openedA = false, openedB = false;
    const bool readA = Information(a, ia, openedA);
    const bool readB = Information(b, ib, openedB);
    if (openedA != openedB) return Identity::different;
    if (!readA || !readB) return Identity::unknown;
    const bool same = ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
                      ia.nFileIndexLow == ib.nFileIndexLow && ia.nFileSizeHigh == ib.nFileSizeHigh &&
                      ia.nFileSizeLow == ib.nFileSizeLow &&
                      ia.ftLastWriteTime.dwLowDateTime == ib.ftLastWriteTime.dwLowDateTime &&
                      ia.ftLastWriteTime.dwHighDateTime == ib.ftLastWriteTime.dwHighDateTime;
    return same ? Identity::same : Identity::different;
}

std::optional<std::wstring> absolute_path(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return std::nullopt;
    std::wstring out(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, out.data(), nullptr);
    if (length == 0 || length >= needed) return std::nullopt;
    out.resize(length);
    return out;
}

bool equal_ignoring_case(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    return a.empty() || ::StrIsIntlEqualW(FALSE, a.c_str(), b.c_str(), static_cast<int>(a.size())) != FALSE;
}

std::wstring ansi_to_wide(const char* bytes, std::size_t count) {
    if (count == 0) return {};
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count), nullptr, 0);
    if (length <= 0) return {};
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count), out.data(), length);
    return out;
}

void file_traits::close(value_type file) noexcept { ::CloseHandle(AsHandle(file)); }

unique_file open_for_reading(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    return unique_file{reinterpret_cast<std::intptr_t>(file)};
}

unique_file create_for_writing(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return unique_file{reinterpret_cast<std::intptr_t>(file)};
}

std::optional<std::size_t> read(const unique_file& file, void* buffer, std::size_t size) {
    DWORD got = 0;
    const DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!::ReadFile(AsHandle(file.get()), buffer, wanted, &got, nullptr)) return std::nullopt;
    return got;
}

bool write(const unique_file& file, const void* data, std::size_t size) {
    DWORD put = 0;
    return ::WriteFile(AsHandle(file.get()), data, static_cast<DWORD>(size), &put, nullptr) && put == size;
}

bool flush(const unique_file& file) { return ::FlushFileBuffers(AsHandle(file.get())) != FALSE; }

bool save_registry_key(RegistryKey key, const std::wstring& file) {
    PrivilegeScope backup(L"SeBackupPrivilege");
    return ::RegSaveKeyW(key, file.c_str(), nullptr) == ERROR_SUCCESS;
}

bool restore_registry_key(const wchar_t* parent, const wchar_t* name, const std::wstring& file) {
    PrivilegeScope restore(L"SeRestorePrivilege");
    unique_registry_key parentKey = OpenMachineKey(parent);
    if (!parentKey) return false;
    unique_registry_key key;
    if (::RegOpenKeyExW(parentKey.get(), name, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return false;
    return ::RegRestoreKeyW(key.get(), file.c_str(), 0) == ERROR_SUCCESS;
}

bool delete_registry_key_tree(const wchar_t* parent, const wchar_t* name) {
    PrivilegeScope restore(L"SeRestorePrivilege");
    unique_registry_key parentKey = OpenMachineKey(parent);
    return parentKey && ::SHDeleteKeyW(parentKey.get(), name) == ERROR_SUCCESS;
}

}  // namespace zu::journal_platform
