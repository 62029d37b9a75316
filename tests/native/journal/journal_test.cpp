// Recording changes and undoing them: folders, files, backups, shortcuts and the uninstall key.
#include "journal_fixture.hpp"

#include "support/product_identity.hpp"
#include "system/journal_platform.hpp"

using journal_test::JournalTest;
using journal_test::Utf16Log;
using zu::CUninstallLog;
using zu::LogEntryKind;
namespace fs = zu::journal_platform;
namespace reg = zu::registry_double;

namespace {

constexpr std::uint32_t kHiddenReadOnly = 0x0003;

TEST_F(JournalTest, CompleteSettlesOnlyThePendingEntry) {
    CUninstallLog log;
    log.Complete(true, std::wstring(L"nothing pending"));
    EXPECT_TRUE(log.currentEntries().empty());
    EXPECT_FALSE(log.pending());

    log.BeginDirectX();
    EXPECT_TRUE(log.pending());
    log.Complete(true, std::wstring(L"DirectX...OK"));
    log.Complete(false, std::wstring(L"second completion"));
    log.BeginRegistration();
    log.Complete(false);

    ASSERT_EQ(log.currentEntries().size(), 2u);
    EXPECT_EQ(log.currentEntries()[0].text, L"DirectX...OK");
    EXPECT_TRUE(log.currentEntries()[0].done);
    EXPECT_EQ(log.currentEntries()[1].kind, LogEntryKind::Registration);
    EXPECT_FALSE(log.currentEntries()[1].done);
    EXPECT_EQ(log.currentEntries()[1].detail, -1);
    EXPECT_FALSE(log.pending());
}

TEST_F(JournalTest, BeginFileRecordsTheFoldersItCreatesOutermostFirst) {
    MakeFolder(P(L"P"));
    CUninstallLog log;
    log.BeginFile(P(L"P/a/b/c/file.dll"), 4, false);

    const auto& entries = log.currentEntries();
    ASSERT_EQ(entries.size(), 4u);
    const std::wstring folders[] = {P(L"P/a"), P(L"P/a/b"), P(L"P/a/b/c")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].kind, LogEntryKind::Folder);
        EXPECT_EQ(entries[i].text, folders[i]);
        EXPECT_TRUE(entries[i].done);
        EXPECT_TRUE(IsFolder(folders[i]));
    }
    EXPECT_EQ(entries[3].kind, LogEntryKind::File);
    EXPECT_EQ(entries[3].detail, 4);
    EXPECT_FALSE(entries[3].done);
    EXPECT_TRUE(log.pending());
    EXPECT_TRUE(entries[3].backupPath.empty());

    // A folder that cannot be made stops the walk; nothing below it is tried or recorded.
    WriteBytes(P(L"P/plain"), "not a folder");
    CUninstallLog blocked;
    blocked.BeginFile(P(L"P/plain/x/y.dll"), 0, false);
    ASSERT_EQ(blocked.currentEntries().size(), 1u);
    EXPECT_EQ(blocked.currentEntries()[0].kind, LogEntryKind::File);
}

TEST_F(JournalTest, BackupsKeepContentAndAttributes) {
    WriteBytes(P(L"moved.dll"), "moved content");
    WriteBytes(P(L"shared.dat"), "shared content");
    ASSERT_TRUE(fs::set_attributes(P(L"moved.dll"), kHiddenReadOnly));
    ASSERT_TRUE(fs::set_attributes(P(L"shared.dat"), kHiddenReadOnly));

    CUninstallLog log;
    log.BeginFile(P(L"moved.dll"), 0, false);
    log.Complete(true);
    log.BeginFile(P(L"shared.dat"), 3, true);
    log.Complete(true);

    const std::wstring moved = log.currentEntries()[0].backupPath;
    const std::wstring copied = log.currentEntries()[1].backupPath;
    ASSERT_FALSE(moved.empty());
    ASSERT_FALSE(copied.empty());
    EXPECT_EQ(moved.compare(0, journal_test::Widen(temp_).size() + 3, journal_test::Widen(temp_) + L"/zu"), 0);
    EXPECT_FALSE(Exists(P(L"moved.dll")));
    EXPECT_EQ(ReadBytes(moved), "moved content");
    EXPECT_EQ(fs::get_attributes(moved), std::optional<std::uint32_t>(kHiddenReadOnly));
    EXPECT_EQ(ReadBytes(P(L"shared.dat")), "shared content");
    EXPECT_EQ(fs::get_attributes(P(L"shared.dat")), std::optional<std::uint32_t>(kHiddenReadOnly));
    EXPECT_EQ(ReadBytes(copied), "shared content");
    EXPECT_EQ(fs::get_attributes(copied), std::optional<std::uint32_t>(kHiddenReadOnly));

    EXPECT_EQ(zu::MakeBackup(P(L"no such file"), true), L"");
    const std::wstring name = zu::MakeBackup(std::nullopt, false);
    EXPECT_FALSE(name.empty());
    EXPECT_FALSE(Exists(name)) << "only a name is wanted";
    EXPECT_EQ(TempFiles().size(), 2u);
}

// The abandoned installation: every placed file and created folder goes, every replaced file
// comes back byte for byte with its attributes, and no backup is left in the temporary folder.
TEST_F(JournalTest, RollbackUndoesTheRunNewestFirst) {
    MakeFolder(P(L"App"));
    const std::string original(3000, '\x7f');
    WriteBytes(P(L"App/main.exe"), original);
    ASSERT_TRUE(fs::set_attributes(P(L"App/main.exe"), kHiddenReadOnly));
    WriteBytes(P(L"App/shared.dat"), "users' data");

    CUninstallLog log;
    log.Read(std::nullopt);
    log.BeginFile(P(L"App/main.exe"), 1, false);
    WriteBytes(P(L"App/main.exe"), "new program");
    log.Complete(true);
    log.BeginFile(P(L"App/shared.dat"), 3, true);
    ASSERT_TRUE(fs::set_attributes(P(L"App/shared.dat"), fs::kAttributeReadOnly));  // a placed file may be read-only
    log.Complete(true);
    log.BeginFile(P(L"App/Lang/de/x.dll"), 0, false);
    WriteBytes(P(L"App/Lang/de/x.dll"), "half");  // the extraction fails midway
    log.Complete(false);
    log.BeginFile(P(L"App/never.dll"), 0, false);  // failed before anything was written
    ASSERT_EQ(TempFiles().size(), 2u);

    log.Rollback();

    EXPECT_EQ(ReadBytes(P(L"App/main.exe")), original);
    EXPECT_EQ(fs::get_attributes(P(L"App/main.exe")), std::optional<std::uint32_t>(kHiddenReadOnly));
    EXPECT_EQ(ReadBytes(P(L"App/shared.dat")), "users' data");
    EXPECT_TRUE(IsWritable(P(L"App/shared.dat")));
    EXPECT_FALSE(Exists(P(L"App/Lang")));
    EXPECT_FALSE(Exists(P(L"App/never.dll")));
    EXPECT_TRUE(IsFolder(P(L"App")));
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_TRUE(log.currentEntries().empty());
    EXPECT_FALSE(log.pending());
}

// An installation's own backup folder: nothing of the run passes through the user's temporary
// folder, and the rollback restores from the given folder.
TEST_F(JournalTest, BackupsGoIntoTheGivenFolder) {
    MakeFolder(P(L"App"));
    MakeFolder(P(L"Private"));
    WriteBytes(P(L"App/main.exe"), "original");
    CUninstallLog log;
    log.Read(std::nullopt);
    log.SetBackupFolder(P(L"Private"));
    log.BeginFile(P(L"App/main.exe"), 1, false);
    EXPECT_FALSE(Exists(P(L"App/main.exe")));
    WriteBytes(P(L"App/main.exe"), "new");
    log.Complete(true);
    ASSERT_EQ(List(journal_test::Utf8(P(L"Private"))).size(), 1u);
    EXPECT_EQ(List(journal_test::Utf8(P(L"Private")))[0].rfind("zu", 0), 0u);
    EXPECT_TRUE(TempFiles().empty());

    log.Rollback();
    EXPECT_EQ(ReadBytes(P(L"App/main.exe")), "original");
    EXPECT_TRUE(List(journal_test::Utf8(P(L"Private"))).empty());
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(JournalTest, RollbackKeepsFoldersThatAreNotEmptyAndTheEarlierEntries) {
    const std::wstring logPath = P(L"earlier.ulog");
    WriteBytes(logPath, Utf16Log({L"// Uninstall Log File v1", L"// w", L"// Install Mobrix 6.05h", L"// Install Path : " + P(),
                                  L"// Shortcut Path : " + P(), L"// -", L"0000:0100:1 -- " + P(L"Data/kept.dat")}));
    CUninstallLog log;
    log.Read(logPath);
    log.BeginFile(P(L"Data/new.dat"), 3, true);
    log.Complete(true);
    WriteBytes(P(L"Data/someone else's.txt"), "x");

    log.Rollback();
    EXPECT_TRUE(IsFolder(P(L"Data")));
    EXPECT_TRUE(log.WasInstalledBefore(P(L"Data/kept.dat")));
    EXPECT_FALSE(log.WasInstalledBefore(P(L"data/kept.dat"))) << "case counts";
    EXPECT_FALSE(log.WasInstalledBefore(P(L"Data/new.dat")));
}

TEST_F(JournalTest, ShortcutOfTheEarlierInstallationIsMovedAsideAndBackOnRollback) {
    MakeFolder(P(L"Menu"));
    WriteBytes(P(L"Menu/Mobrix 6.05g.lnk"), "old link");
    const std::wstring logPath = P(L"earlier.ulog");
    WriteBytes(logPath, Utf16Log({L"// Uninstall Log File v1", L"// w", L"// Install Mobrix 6.05g", L"// Install Path : " + P(),
                                  L"// Shortcut Path : " + P(), L"// -", L"0000:03ff:1 -- " + P(L"Menu/u.lnk"),
                                  L"0001:02ff:1 -- " + P(L"Menu/Mobrix 6.05g.lnk"), L"0002:02ff:1 -- " + P(L"Menu/x.lnk")}));
    CUninstallLog log;
    log.Read(logPath);
    log.BeginShortcut(0, P(L"Menu"));
    ASSERT_EQ(log.currentEntries().size(), 1u);
    EXPECT_FALSE(Exists(P(L"Menu/Mobrix 6.05g.lnk")));
    ASSERT_FALSE(log.currentEntries()[0].backupPath.empty());
    WriteBytes(P(L"Menu/Mobrix 6.05h.lnk"), "new link");
    log.Complete(true, P(L"Menu/Mobrix 6.05h.lnk"));
    log.BeginShortcut(7, P(L"Desk"));  // any other value: the desktop shortcut
    EXPECT_EQ(log.currentEntries().back().kind, LogEntryKind::DesktopShortcut);
    EXPECT_TRUE(log.currentEntries().back().backupPath.empty());

    log.Rollback();
    // The replaced shortcut comes back under the entry's text, the new shortcut's path.
    EXPECT_EQ(ReadBytes(P(L"Menu/Mobrix 6.05h.lnk")), "old link");
    EXPECT_FALSE(Exists(P(L"Desk")));
    EXPECT_TRUE(TempFiles().empty());
}

class UninstallKeyTest : public JournalTest {
protected:
    const std::wstring key = zu::ProductIdentity::uninstallKey;
    const std::wstring parent = key.substr(0, key.rfind(L'\\'));
};

TEST_F(UninstallKeyTest, RollbackDeletesANewKeyWithItsSubkeys) {
    reg::create_key(parent);
    reg::set_value(key, L"DisplayName", L"Mobrix 6.05h");
    reg::set_value(key + L"\\Sub\\Deeper", L"v", L"1");
    reg::set_value(parent + L"\\Other product", L"DisplayName", L"other");

    CUninstallLog log;
    log.BeginUninstallKey(nullptr);
    log.Complete(true);
    EXPECT_TRUE(log.currentEntries()[0].backupPath.empty());
    log.Rollback();

    EXPECT_TRUE(reg::subtree(key).empty());
    EXPECT_EQ(reg::value(parent + L"\\Other product", L"DisplayName"), std::optional<std::wstring>(L"other"));
}

TEST_F(UninstallKeyTest, RollbackRestoresAnExistingKeyAsItWas) {
    reg::set_value(key, L"DisplayName", L"Mobrix 6.05g");
    reg::set_value(key + L"\\Sub", L"kept", L"yes");
    {
        reg::unique_key existing(reg::open_key(key));
        ASSERT_TRUE(existing);
        CUninstallLog log;
        log.BeginUninstallKey(existing.get());
        ASSERT_FALSE(log.currentEntries()[0].backupPath.empty());
        ASSERT_EQ(TempFiles().size(), 1u);
        reg::set_value(key, L"DisplayName", L"Mobrix 6.05h");
        reg::set_value(key + L"\\New", L"added", L"1");
        log.Complete(true);
        log.Rollback();
    }
    EXPECT_EQ(reg::value(key, L"DisplayName"), std::optional<std::wstring>(L"Mobrix 6.05g"));
    EXPECT_EQ(reg::value(key + L"\\Sub", L"kept"), std::optional<std::wstring>(L"yes"));
    EXPECT_FALSE(reg::key_exists(key + L"\\New"));
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(UninstallKeyTest, WriteDeletesTheSavedKey) {
    reg::set_value(key, L"DisplayName", L"Mobrix 6.05g");
    reg::unique_key existing(reg::open_key(key));
    CUninstallLog log;
    log.BeginUninstallKey(existing.get());
    log.Complete(true);
    ASSERT_EQ(TempFiles().size(), 1u);
    EXPECT_TRUE(log.Write(P(L"Uninstall.ulog"), P(), P()));
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_TRUE(log.currentEntries()[0].backupPath.empty());
}

TEST_F(UninstallKeyTest, KeyThatCannotBeSavedLeavesNoBackup) {
    reg::set_value(key, L"DisplayName", L"x");
    reg::unique_key existing(reg::open_key(key));
    reg::reset();  // the key went away: the save fails
    CUninstallLog log;
    log.BeginUninstallKey(existing.get());
    EXPECT_TRUE(log.currentEntries()[0].backupPath.empty());
    EXPECT_TRUE(TempFiles().empty());
}

}  // namespace
