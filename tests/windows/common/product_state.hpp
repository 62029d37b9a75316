// Puts the test prefix back into the state of a machine without the product: no uninstall
// key, installation record or association, and none of the product's folders and links.
#pragma once

#include <string>

#include "support/product_identity.hpp"
#include "support/windows_api.hpp"
#include "system/file_association.hpp"
#include "system/installation_record.hpp"

namespace zu_test {

// Removes a folder and everything in it, read-only files included.
inline void remove_tree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") remove_tree(path + L"\\" + name);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

inline std::wstring shell_folder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

inline void remove_product_from_machine() {
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, zu::ProductIdentity::uninstallKey);
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, zu::kInstallationRecordKey);
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Quillon");
    zu::UnregisterFileAssociation();
    for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_COMMON_APPDATA, CSIDL_APPDATA, CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        remove_tree(shell_folder(csidl) + L"\\Quillon");
    }
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY}) {
        const std::wstring link = shell_folder(csidl) + L"\\Mobrix 6.05h.lnk";
        ::SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(link.c_str());
        remove_tree(shell_folder(csidl) + L"\\Mobrix Examples");
    }
    remove_tree(shell_folder(CSIDL_PERSONAL) + L"\\Mobrix Examples");
}

}  // namespace zu_test
