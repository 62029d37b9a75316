// The install sequence on the real system under Wine, with the demo payload and the stand-in
// product, and without the wizard: a windowless view records what the page would show.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "app/install_app.hpp"
#include "common/product_state.hpp"
#include "engine/install_sequence.hpp"
#include "i18n/language_state.hpp"
#include "native/common/recording_view.hpp"
#include "support/unique_resource.hpp"
#include "system/installation_record.hpp"

namespace {

bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string bytes_of(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file below a folder with its bytes and attributes.
void snapshot(const std::wstring& folder, std::map<std::wstring, std::pair<std::string, DWORD>>& files) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName, path = folder + L"\\" + name;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files[path + L"\\"] = {"", found.dwFileAttributes};
            snapshot(path, files);
        } else {
            files[path] = {bytes_of(path), found.dwFileAttributes};
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// The journal's backups ("zu*.tmp") in the user's temporary folder.
std::size_t temp_backups() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((std::wstring(temp) + L"zu*.tmp").c_str(), &found);
    std::size_t n = 0;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) ++n;
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
    return n;
}

class InstallSequenceOnWindows : public testing::Test {
protected:
    void SetUp() override {
        zu_test::remove_product_from_machine();
        zu::set_language(zu::kEnglish);
        app.UpdateTitle();
        app.context.installFolder = L"C:\\Program Files\\Quillon\\Mobrix 6";
        app.context.shortcutFolder = zu_test::shell_folder(CSIDL_COMMON_PROGRAMS) + L"\\Quillon\\Mobrix 6";
        ASSERT_TRUE(app.instanceGuard.try_lock());
    }
    void TearDown() override {
        ::SetEnvironmentVariableW(L"ZU_STANDIN_REGISTER_EXIT", nullptr);
        zu_test::remove_product_from_machine();
    }

    std::size_t copying_lines_ending_ok(const zu_test::RecordingView& view) const {
        std::size_t n = 0;
        for (const std::wstring& line : view.lines()) {
            n += line.rfind(L"Copying File  ", 0) == 0 && line.size() > 2 && line.compare(line.size() - 2, 2, L"OK") == 0;
        }
        return n;
    }

    zu::CInstallApp app;
};

TEST_F(InstallSequenceOnWindows, FreshInstallationOfTheDemoPayload) {
    zu_test::RecordingView view;
    ASSERT_TRUE(RunInstallation(view, app));
    EXPECT_EQ(copying_lines_ending_ok(view), 70u);
    const std::vector<std::wstring> lines = view.lines();
    EXPECT_EQ(lines.at(1), L"Preparing Installation...OK");
    EXPECT_EQ(lines.back(), L"Installation Data Writing...OK");
    EXPECT_EQ(lines.at(lines.size() - 2), L"Registry Data Writing...OK");
    EXPECT_EQ(lines.at(lines.size() - 4), L"Shortcuts Creation...OK");

    const std::wstring folder = app.context.installFolder;
    for (const wchar_t* executable : {L"\\Mobrix.exe", L"\\Uninstall.exe"}) {
        EXPECT_TRUE(::GetFileAttributesW((folder + executable).c_str()) & FILE_ATTRIBUTE_READONLY) << executable;
    }
    EXPECT_TRUE(exists(folder + L"\\Uninstall.ulog"));
    EXPECT_FALSE(exists(app.context.tempFolder));  // the DirectX files and their folder are gone
    // The registration run happened, with the mutex given back and taken again.
    const zu::InstallationRecord record = zu::ReadInstallationRecord();
    EXPECT_TRUE(record.installed);
    EXPECT_EQ(record.executable, folder + L"\\Mobrix.exe");
    EXPECT_TRUE(app.instanceGuard.owned());
    // 64 records for files (the six temporary files are not journalled).
    zu::CUninstallLog written;
    written.Read(folder + L"\\Uninstall.ulog");
    std::size_t files = 0;
    for (const zu::LogEntry& entry : written.earlierEntries()) files += entry.kind == zu::LogEntryKind::File;
    EXPECT_EQ(files, 64u);
}

TEST_F(InstallSequenceOnWindows, ProductThatDoesNotRegisterLeavesTheStepFailedButTheInstallationDone) {
    ::SetEnvironmentVariableW(L"ZU_STANDIN_REGISTER_EXIT", L"0");
    zu_test::RecordingView view;
    EXPECT_TRUE(RunInstallation(view, app));
    const std::vector<std::wstring> lines = view.lines();
    EXPECT_EQ(lines.at(lines.size() - 2), L"Registry Data Writing...Failed");
    EXPECT_EQ(view.progressText(), L"Click on 'Next' to continue.");
}

TEST_F(InstallSequenceOnWindows, FailureInTheMiddleLeavesTheEarlierInstallationByteForByte) {
    {
        zu_test::RecordingView first;
        ASSERT_TRUE(RunInstallation(first, app));
    }
    // Something of the earlier installation changed by the user, and a read-only file.
    const std::wstring folder = app.context.installFolder;
    const std::wstring data = zu_test::shell_folder(CSIDL_COMMON_APPDATA) + L"\\Quillon";
    std::map<std::wstring, std::pair<std::string, DWORD>> before, after;
    snapshot(folder, before);
    snapshot(data, before);
    ASSERT_GT(before.size(), 20u);

    // A destination that cannot be written, late in the payload: a texture held open by
    // another program, which can be neither moved aside nor overwritten.
    const std::wstring blocker = zu_test::shell_folder(CSIDL_COMMON_APPDATA) + L"\\Quillon\\Textures\\Mobrix 6\\Gravel.jpg";
    zu::unique_file_handle held(::CreateFileW(blocker.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);

    const std::size_t backupsBefore = temp_backups();
    zu::CInstallApp second;
    second.context = app.context;
    app.instanceGuard.release();
    ASSERT_TRUE(second.instanceGuard.try_lock());
    second.uninstallLog.Read(folder + L"\\Uninstall.ulog");
    second.context.installState = zu::SameVersion;
    zu_test::RecordingView view;
    EXPECT_FALSE(RunInstallation(view, second));
    EXPECT_EQ(view.progressText().rfind(L"Installation failed (Error Code 1:", 0), 0u) << view.progressText();
    held.reset();

    snapshot(folder, after);
    snapshot(data, after);
    EXPECT_EQ(after.size(), before.size());
    for (const auto& [path, content] : before) {
        auto found = after.find(path);
        ASSERT_NE(found, after.end()) << "missing after the rollback: " << testing::PrintToString(path);
        EXPECT_EQ(found->second.first == content.first, true) << testing::PrintToString(path);
        EXPECT_EQ(found->second.second, content.second) << testing::PrintToString(path);
    }
    // No backup left behind in the temporary folder.
    EXPECT_EQ(temp_backups(), backupsBefore);
}

}  // namespace
