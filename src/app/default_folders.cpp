#include "app/default_folders.hpp"

#include "support/product_identity.hpp"
#include "support/windows_api.hpp"
#include "support/windows_queries.hpp"

namespace zu {
namespace {

std::wstring append_product_folders(std::wstring base) {
    wchar_t buffer[MAX_PATH + 1];
    ::lstrcpynW(buffer, base.c_str(), MAX_PATH + 1);
    ::PathAppendW(buffer, ProductIdentity::publisherFolder);
    ::PathAppendW(buffer, ProductIdentity::displayName);
    return buffer;
}

}  // namespace

FolderSources system_folder_sources() {
    FolderSources sources;
    sources.specialFolder = [](int csidl, std::wstring& folder) {
        wchar_t buffer[MAX_PATH + 1] = L"";
        if (!::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return false;
        folder = buffer;
        return true;
    };
    sources.programFilesValue = [](std::wstring& folder) {
        wchar_t buffer[MAX_PATH + 1] = L"";
        DWORD type = 0;
        DWORD size = sizeof buffer;
        if (::SHGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", L"ProgramFilesDir",
                          &type, buffer, &size) != ERROR_SUCCESS) {
            return false;
        }
        // Anything but text (or a value filling the buffer without its terminator) is unusable.
        if ((type != REG_SZ && type != REG_EXPAND_SZ) || size < sizeof(wchar_t)) return false;
        buffer[MAX_PATH] = L'\0';
        folder = buffer;
        return !folder.empty();
    };
    sources.windowsFolder = [] {
        wchar_t buffer[261] = L"";
        windows_directory(buffer);
        return std::wstring(buffer);
    };
    return sources;
}

std::wstring DefaultInstallFolder(const FolderSources& sources) {
    std::wstring folder;
    if (!sources.specialFolder(CSIDL_PROGRAM_FILES, folder) && !sources.programFilesValue(folder)) {
        wchar_t root[MAX_PATH + 1];
        ::lstrcpynW(root, sources.windowsFolder().c_str(), MAX_PATH + 1);
        ::PathStripToRootW(root);
        ::PathAppendW(root, L"Program Files");
        folder = root;
    }
    return append_product_folders(folder);
}

std::wstring DefaultShortcutFolder(const FolderSources& sources) {
    std::wstring folder;
    if (!sources.specialFolder(CSIDL_COMMON_PROGRAMS, folder)) sources.specialFolder(CSIDL_PROGRAMS, folder);
    return append_product_folders(folder);
}

}  // namespace zu
