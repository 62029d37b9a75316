// The real installer over an earlier installation: the same version again, an older one, a
// newer one. Each starts from a machine without the product and leaves it so.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "installed_product.hpp"
#include "machine_snapshot.hpp"
#include "quick_path.hpp"
#include "system/installation_record.hpp"

namespace {

using namespace zu_test::quick;
using zu::LogEntryKind;
using zu_test::WizardDriver;

zu::ulog::LogFileContent installed_log(std::string* bytes = nullptr) {
    const std::string read = zu_test::read_bytes(kInstallFolder + L"\\Uninstall.ulog");
    if (bytes) *bytes = read;
    return zu::ulog::ParseLog(zu::ulog::MemorySource(read.data(), read.size()));
}

std::vector<std::wstring> files_of_kind(const zu::ulog::LogFileContent& log, int detail) {
    std::vector<std::wstring> files;
    for (const auto& e : log.entries) {
        if (e.kind == LogEntryKind::File && e.detail == detail) files.push_back(e.text);
    }
    return files;
}

bool write_bytes(const std::wstring& path, const std::string& bytes) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    if (attributes != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(path.c_str(), attributes);
    return ok;
}

int copied_lines(const std::wstring& wizardLog) {
    const std::wstring copying = message(115).substr(0, message(115).find(L"%1"));
    int copied = 0;
    for (const auto& line : zu_test::lines_of(wizardLog)) copied += line.rfind(copying, 0) == 0;
    return copied;
}

// The DirectX double's record of its calls during one installer run.
class DirectXTrace {
public:
    DirectXTrace() : path_(zu_test::temp_folder() + L"\\e2e-dsetup-trace.txt") {
        ::DeleteFileW(path_.c_str());
        ::SetEnvironmentVariableW(L"ZU_DSETUP_TRACE", path_.c_str());
    }
    ~DirectXTrace() {
        ::SetEnvironmentVariableW(L"ZU_DSETUP_TRACE", nullptr);
        ::DeleteFileW(path_.c_str());
    }
    bool SetupCalled() const { return zu_test::read_bytes(path_).find("setup flags=") != std::string::npos; }

private:
    std::wstring path_;
};

// Walks the quick path over what is installed and returns the wizard's log at the end.
std::wstring install_over(const std::wstring& expectedStart) {
    WizardDriver w(installer(), L"", false);
    if (!w.Frame()) return L"";
    EXPECT_EQ(w.PageText(1016), expectedStart);
    w.ClickButton(kNext);
    w.ClickButton(kNext);
    EXPECT_EQ(w.PageIndex(), 4);
    EXPECT_TRUE(install_and_wait(w)) << zu_test::utf8(progress_log(w));
    const std::wstring log = progress_log(w);
    w.ClickButton(kNext);
    w.ClickButton(kCancel);
    EXPECT_EQ(w.WaitForExit(), 0u);
    return log;
}

// The same version again (install state 1), then the uninstaller: shared data kept as the
// user left it, every other file written anew, the links replaced, the log merged, DirectX run
// again; and afterwards the machine as it was before the first installation.
TEST(E2E, ReinstallationOverTheQuickInstallationThenQuietUninstall) {
    ProductRemovedAtEnd clean;
    const zu_test::Snapshot driveBefore = zu_test::drive_listing();
    const zu_test::Snapshot registryBefore = zu_test::registry_listing();
    ASSERT_TRUE(install_quickly());

    const zu::ulog::LogFileContent first = installed_log();
    const auto shared = files_of_kind(first, 3), standard = files_of_kind(first, 0);
    ASSERT_FALSE(shared.empty());
    ASSERT_FALSE(standard.empty());
    const std::string sharedModified = zu_test::read_bytes(shared.front()) + "changed by the user";
    const std::string standardOriginal = zu_test::read_bytes(standard.front());
    ASSERT_TRUE(write_bytes(shared.front(), sharedModified));
    ASSERT_TRUE(write_bytes(standard.front(), "damaged"));
    std::vector<std::wstring> links;
    for (const auto& e : first.entries) {
        if (e.kind >= LogEntryKind::MenuShortcut && e.kind <= LogEntryKind::DesktopShortcut) links.push_back(e.text);
    }
    ASSERT_EQ(links.size(), 3u);

    {
        DirectXTrace trace;
        const std::wstring log =
            install_over(L"'Mobrix 6.05h' is already installed.\r\nDo you confirm Reinstallation ?");
        EXPECT_EQ(log.find(message(12)), std::wstring::npos) << zu_test::utf8(log);
        EXPECT_TRUE(trace.SetupCalled()) << "DirectX runs again on a reinstallation";
    }
    EXPECT_EQ(zu_test::read_bytes(shared.front()), sharedModified) << "shared data is kept";
    EXPECT_EQ(zu_test::read_bytes(standard.front()), standardOriginal) << "other files are written anew";
    for (const auto& link : links) EXPECT_TRUE(zu_test::exists(link)) << zu_test::utf8(link);

    std::string bytes;
    const zu::ulog::LogFileContent merged = installed_log(&bytes);
    EXPECT_EQ(merged.stop, zu::ulog::ReadStop::EndOfFile);
    EXPECT_NE(bytes.find(zu::ulog::EncodeLine(L"// Install Mobrix 6.05h -- Update (Mobrix 6.05h)")), std::string::npos);
    std::set<std::wstring> mergedFiles;
    for (const auto& e : merged.entries) {
        if (e.kind == LogEntryKind::File) mergedFiles.insert(e.text);
    }
    for (const auto& e : first.entries) {
        if (e.kind == LogEntryKind::File) {
            EXPECT_TRUE(mergedFiles.count(e.text)) << zu_test::utf8(e.text);
        }
    }

    zu_test::uninstall_quietly(kInstallFolder + L"\\Uninstall.exe", kInstallFolder);
    EXPECT_TRUE(zu_test::uninstall_key_values().empty());
    const zu_test::Snapshot driveAfter = zu_test::drive_listing();
    const zu_test::Snapshot registryAfter = zu_test::registry_listing();
    EXPECT_EQ(driveBefore, driveAfter) << zu_test::difference(driveBefore, driveAfter);
    EXPECT_EQ(registryBefore, registryAfter) << zu_test::difference(registryBefore, registryAfter);
}

// A reinstallation that fails in the middle of the extraction (a file of the earlier
// installation held open so that it cannot be replaced): the earlier installation is back byte
// for byte with its attributes, its uninstall key as it was, no folder or backup left.
TEST(E2E, FailureInTheMiddleOfAReinstallationPutsTheEarlierInstallationBack) {
    ProductRemovedAtEnd clean;
    ASSERT_TRUE(install_quickly());
    const zu::ulog::LogFileContent first = installed_log();
    const auto standard = files_of_kind(first, 0);
    ASSERT_GT(standard.size(), 2u);
    const std::wstring held = standard[standard.size() - 2];

    const zu_test::Snapshot driveBefore = zu_test::drive_listing();
    const zu_test::Snapshot registryBefore = zu_test::registry_listing();
    const zu_test::Snapshot contentBefore = zu_test::content_listing(kInstallFolder);
    zu_test::Snapshot tempBefore;
    zu_test::list_files(zu_test::temp_folder(), {}, tempBefore);
    {
        HANDLE file = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        WizardDriver w(installer(), L"", false);
        ASSERT_TRUE(w.Frame());
        w.ClickButton(kNext);
        w.ClickButton(kNext);
        ASSERT_EQ(w.PageIndex(), 4);
        const bool installed = install_and_wait(w);
        ::CloseHandle(file);
        EXPECT_FALSE(installed);
        const std::wstring log = progress_log(w);
        EXPECT_NE(log.find(message(12)), std::wstring::npos) << zu_test::utf8(log);
        EXPECT_EQ(w.PageText(1003).rfind(L"Installation failed (Error Code ", 0), 0u) << zu_test::utf8(w.PageText(1003));
        w.ClickButton(kCancel);
        zu_test::BoxSeen box = w.WaitForBox();
        ASSERT_TRUE(box.window);
        w.Answer(box, IDYES);
        EXPECT_EQ(w.WaitForExit(), 0u);
    }
    const zu_test::Snapshot driveAfter = zu_test::drive_listing();
    const zu_test::Snapshot registryAfter = zu_test::registry_listing();
    const zu_test::Snapshot contentAfter = zu_test::content_listing(kInstallFolder);
    zu_test::Snapshot tempAfter;
    zu_test::list_files(zu_test::temp_folder(), {}, tempAfter);
    EXPECT_EQ(contentBefore, contentAfter) << zu_test::difference(contentBefore, contentAfter);
    EXPECT_EQ(driveBefore, driveAfter) << zu_test::difference(driveBefore, driveAfter);
    EXPECT_EQ(registryBefore, registryAfter) << zu_test::difference(registryBefore, registryAfter);
    EXPECT_EQ(tempBefore, tempAfter) << zu_test::difference(tempBefore, tempAfter);
}

// An older stand-in installed (install state 2): the update keeps its folders, leaves the
// sample files out and skips DirectX, which the earlier log has done.
TEST(E2E, UpdateFromAnOlderVersionLeavesSamplesOutAndSkipsDirectX) {
    ProductRemovedAtEnd clean;
    ASSERT_TRUE(install_quickly());
    const zu::ulog::LogFileContent first = installed_log();
    const auto samples = files_of_kind(first, 4);
    EXPECT_EQ(samples.size(), 28u);
    for (const auto& sample : samples) {
        ::SetFileAttributesW(sample.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(::DeleteFileW(sample.c_str())) << zu_test::utf8(sample);
    }
    const std::wstring mainProgram = kInstallFolder + L"\\Mobrix.exe";
    ::SetFileAttributesW(mainProgram.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(::CopyFileW(zu_test::wine_path(ZU_STANDIN_OLDER_EXE).c_str(), mainProgram.c_str(), FALSE));

    std::wstring log;
    {
        DirectXTrace trace;
        log = install_over(L"Update from 'Mobrix 6.05g' to 'Mobrix 6.05h'.");
        EXPECT_FALSE(trace.SetupCalled()) << "the earlier log has DirectX done";
    }
    // Written: all but the 28 samples and the 22 shared data files, which are there already.
    EXPECT_EQ(copied_lines(log), 70 - 28 - 22);
    for (const auto& sample : samples) EXPECT_FALSE(zu_test::exists(sample)) << zu_test::utf8(sample);
    EXPECT_NE(log.find(L"Installation Folder: \"" + kInstallFolder + L"\""), std::wstring::npos);
    const auto values = zu_test::uninstall_key_values();
    ASSERT_TRUE(values.count(L"DisplayVersion"));
    EXPECT_EQ(zu_test::string_of(values.at(L"DisplayVersion")), L"6.5.8.1");
}

// A newer version installed (install state -1): the Start page says so, Next stays disabled,
// Cancel leaves without a question, and the machine is as it was.
TEST(E2E, NewerVersionInstalledLeavesTheMachineAlone) {
    ProductRemovedAtEnd clean;
    ASSERT_TRUE(zu::WriteInstallationRecord(zu_test::wine_path(ZU_STANDIN_NEWER_EXE)));
    const zu_test::Snapshot driveBefore = zu_test::drive_listing();
    const zu_test::Snapshot registryBefore = zu_test::registry_listing();
    {
        WizardDriver w(installer(), L"", false);
        ASSERT_TRUE(w.Frame());
        EXPECT_EQ(w.PageText(1016),
                  L"'Mobrix 6.05h' Installation.\r\nA more recent Version (Mobrix 6.05i) is already installed.");
        EXPECT_EQ(w.PageText(1003), L"Click on 'Cancel' to exit Installation.");
        EXPECT_FALSE(w.Enabled(w.Button(kNext)));
        EXPECT_FALSE(w.Enabled(w.Button(kBack)));
        w.ClickButton(kCancel);
        EXPECT_EQ(w.WaitForDialog(nullptr, 300), nullptr) << "no question";
        EXPECT_EQ(w.WaitForExit(), 0u);
    }
    const zu_test::Snapshot driveAfter = zu_test::drive_listing();
    const zu_test::Snapshot registryAfter = zu_test::registry_listing();
    EXPECT_EQ(driveBefore, driveAfter) << zu_test::difference(driveBefore, driveAfter);
    EXPECT_EQ(registryBefore, registryAfter) << zu_test::difference(registryBefore, registryAfter);
}

}  // namespace
