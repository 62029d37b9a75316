#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "common/child_process.hpp"
#include "common/wine_paths.hpp"
#include "support/product_identity.hpp"
#include "system/file_association.hpp"
#include "system/installation_record.hpp"
#include "system/uninstall_log.hpp"

namespace {

const std::wstring kInstall = L"C:\\Program Files\\Quillon\\Mobrix 6";
const std::wstring kData = L"C:\\ProgramData\\Quillon\\Mobrix 6";
const std::wstring kMenu = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quillon\\Mobrix 6";

bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void write_file(const std::wstring& path, const char* content) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write the test file";
    DWORD written = 0;
    ::WriteFile(file, content, static_cast<DWORD>(strlen(content)), &written, nullptr);
    ::CloseHandle(file);
}

// Places a file the way the installer does: announced to the log, then written.
void place(zu::CUninstallLog& log, const std::wstring& path, int kind, const char* content = "x") {
    log.BeginFile(path, kind, false);
    write_file(path, content);
    log.Complete(true);
}

bool wait_until_gone(const std::wstring& path) {
    for (int i = 0; i < 200 && exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return !exists(path);
}

TEST(Uninstaller, RemovesAHandMadeInstallationAndNothingElse) {
    // Something of another program beside ours, that no log names.
    ::CreateDirectoryW(L"C:\\ProgramData\\Quillon", nullptr);
    ::CreateDirectoryW(L"C:\\ProgramData\\Quillon\\Other", nullptr);
    write_file(L"C:\\ProgramData\\Quillon\\Other\\keep.txt", "not ours");

    zu::CUninstallLog log;
    const std::wstring uninstaller = kInstall + L"\\Uninstall.exe";
    const std::wstring mobrix = kInstall + L"\\Mobrix.exe";
    log.BeginFile(uninstaller, 2, false);
    ASSERT_TRUE(::CopyFileW(zu_test::windows_path_of(ZU_STANDIN_UNINSTALL).c_str(), uninstaller.c_str(), FALSE));
    log.Complete(true);
    log.BeginFile(mobrix, 1, false);
    ASSERT_TRUE(::CopyFileW(zu_test::windows_path_of(ZU_STANDIN_MOBRIX).c_str(), mobrix.c_str(), FALSE));
    log.Complete(true);
    place(log, kInstall + L"\\Lang\\Mobrix.de.dll", 0);
    place(log, kData + L"\\library.dat", 3);
    log.BeginShortcut(0, kMenu);
    write_file(kMenu + L"\\Mobrix 6.05h.lnk", "link");
    log.Complete(true, kMenu + L"\\Mobrix 6.05h.lnk");

    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, zu::ProductIdentity::uninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    log.BeginUninstallKey(nullptr);
    ::RegSetValueExW(key, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Mobrix 6.05h"), 26);
    ::RegCloseKey(key);
    log.Complete(true);
    log.BeginRegistration();
    testing_support::child_process registration(mobrix, {L"/Register", L"/Background"});
    log.Complete(registration.wait() == std::optional<DWORD>(static_cast<DWORD>(-10)));
    ASSERT_TRUE(zu::ReadInstallationRecord().installed);
    ASSERT_TRUE(log.Write(kInstall + L"\\Uninstall.ulog", kInstall, kMenu));
    ::SetFileAttributesW(uninstaller.c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(mobrix.c_str(), FILE_ATTRIBUTE_READONLY);

    testing_support::child_process uninstall(uninstaller, {L"/quiet"});
    ASSERT_EQ(uninstall.wait(), std::optional<DWORD>(0));
    EXPECT_TRUE(wait_until_gone(uninstaller));

    for (const std::wstring& gone : {mobrix, kInstall + L"\\Uninstall.ulog", kInstall + L"\\Lang", kInstall,
                                     std::wstring(L"C:\\Program Files\\Quillon"), kData, kMenu,
                                     std::wstring(L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quillon")}) {
        EXPECT_FALSE(exists(gone)) << "left behind: " << testing::PrintToString(gone);
    }
    HKEY left = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, zu::ProductIdentity::uninstallKey, 0, KEY_READ, &left), ERROR_SUCCESS);
    EXPECT_FALSE(zu::ReadInstallationRecord().installed);
    EXPECT_NE(::RegOpenKeyExW(HKEY_CLASSES_ROOT, zu::kProjectClass, 0, KEY_READ, &left), ERROR_SUCCESS);

    // What no log named is still there, and so is the folder holding it.
    EXPECT_TRUE(exists(L"C:\\ProgramData\\Quillon\\Other\\keep.txt"));
    ::DeleteFileW(L"C:\\ProgramData\\Quillon\\Other\\keep.txt");
    ::RemoveDirectoryW(L"C:\\ProgramData\\Quillon\\Other");
    ::RemoveDirectoryW(L"C:\\ProgramData\\Quillon");

    // The copy that finished the job removed itself too.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((std::wstring(temp) + L"zu-uninstall-*.exe").c_str(), &found);
    bool copyLeft = false;
    for (int i = 0; i < 100 && search != INVALID_HANDLE_VALUE; ++i) {
        ::FindClose(search);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        search = ::FindFirstFileW((std::wstring(temp) + L"zu-uninstall-*.exe").c_str(), &found);
        copyLeft = search != INVALID_HANDLE_VALUE;
    }
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
    EXPECT_FALSE(copyLeft);
}

}  // namespace
