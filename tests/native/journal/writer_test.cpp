// The log file as the uninstaller must find it, down to the byte, and the safety of replacing
// an earlier one.
#include "journal_fixture.hpp"

#include "system/journal_platform.hpp"
#include "system/uninstall_log_file.hpp"

using journal_test::JournalTest;
using journal_test::Utf16Log;
using zu::CUninstallLog;
using zu::LogEntry;
using zu::LogEntryKind;

namespace {

const std::wstring kHeader0 = L"// Uninstall Log File v1";
const std::wstring kHeader1 = L"// ############ WARNING: Do not delete or modify this file. ############";

TEST_F(JournalTest, FirstInstallationLogHasNoUpdatePartAndThisRunsEntriesFromIndexZero) {
    const std::wstring app = P(L"Quillon/Mobrix 6");
    const std::wstring menu = P(L"Programs/Quillon/Mobrix 6");
    MakeFolder(P(L"Quillon"));
    MakeFolder(P(L"Programs"));

    CUninstallLog log;
    log.Read(std::nullopt);
    log.BeginFile(app + L"/Uninstall.exe", 2, false);  // creates the product folder first
    WriteBytes(app + L"/Uninstall.exe", "u");
    log.Complete(true);
    log.BeginFile(app + L"/Lang/Mobrix.de.dll", 0, false);
    log.Complete(false);
    log.BeginShortcut(0, menu);
    log.Complete(true, menu + L"/Mobrix 6.05h.lnk");
    log.BeginShortcut(2, P(L"Desktop/x"));
    log.Complete(false);
    log.BeginDirectX();
    log.Complete(true, std::wstring(L"DirectX Installation... OK"));
    log.BeginUninstallKey(nullptr);
    log.Complete(true);
    log.BeginRegistration();
    log.Complete(false);

    const std::wstring logPath = app + L"/Uninstall.ulog";
    ASSERT_TRUE(log.Write(logPath, app, menu));

    const std::vector<std::wstring> expected = {
        kHeader0,
        kHeader1,
        L"// Install Mobrix 6.05h",
        L"// Install Path : " + app,
        L"// Shortcut Path : " + menu,
        L"// " + std::wstring(16 + menu.size(), L'-'),
        L"0000:00ff:1 -- " + app,
        L"0001:0102:1 -- " + app + L"/Uninstall.exe",
        L"0002:00ff:1 -- " + app + L"/Lang",
        L"0003:0100:0 -- " + app + L"/Lang/Mobrix.de.dll",
        L"0004:00ff:1 -- " + P(L"Programs/Quillon"),
        L"0005:00ff:1 -- " + menu,
        L"0006:02ff:1 -- " + menu + L"/Mobrix 6.05h.lnk",
        L"0007:00ff:1 -- " + P(L"Desktop"),
        L"0008:00ff:1 -- " + P(L"Desktop/x"),
        L"0009:04ff:0 -- ",
        L"0010:07ff:1 -- DirectX Installation... OK",
        L"0011:05ff:1 -- HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mobrix 6",
        L"0012:06ff:0 -- HKEY_CLASSES_ROOT\\...",
    };
    EXPECT_EQ(ReadBytes(logPath), Utf16Log(expected));
    EXPECT_TRUE(log.earlierEntries().empty());
    EXPECT_FALSE(Exists(logPath + L".new"));
}

TEST_F(JournalTest, DashLineHasSixteenDashesMoreThanTheShortcutFolder) {
    struct Case {
        std::wstring shortcutPath;
        std::size_t dashes;
    };
    const Case cases[] = {
        {L"", 16},
        {std::wstring(40, L'x'), 56},
        {L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quillon\\Mobrix 6", 85},
    };
    for (const Case& c : cases) {
        const std::vector<std::wstring> header = zu::ulog::HeaderLines(L"", L"C:\\x", c.shortcutPath);
        ASSERT_EQ(header.size(), 6u);
        EXPECT_EQ(header[4], L"// Shortcut Path : " + c.shortcutPath);
        EXPECT_EQ(header[5], L"// " + std::wstring(c.dashes, L'-')) << c.dashes;
    }
}

TEST_F(JournalTest, EntryLinesCarryIndexKindDetailDoneAndText) {
    struct Case {
        std::size_t index;
        LogEntry entry;
        std::wstring line;
    };
    auto entry = [](LogEntryKind kind, std::int32_t detail, bool done, std::wstring text) {
        LogEntry e;
        e.kind = kind;
        e.detail = detail;
        e.done = done;
        e.text = std::move(text);
        e.backupPath = L"/never/written";
        return e;
    };
    const Case cases[] = {
        {3, entry(LogEntryKind::Folder, -1, true, L"C:\\Program Files\\Quillon\\Mobrix 6"),
         L"0003:00ff:1 -- C:\\Program Files\\Quillon\\Mobrix 6"},
        {4, entry(LogEntryKind::File, 2, true, L"C:\\P\\Uninstall.exe"), L"0004:0102:1 -- C:\\P\\Uninstall.exe"},
        {5, entry(LogEntryKind::File, 4, false, L"C:\\s.mbx"), L"0005:0104:0 -- C:\\s.mbx"},
        {71, entry(LogEntryKind::MenuShortcut, -1, false, L""), L"0071:02ff:0 -- "},
        {72, entry(LogEntryKind::UninstallShortcut, -1, true, L"u.lnk"), L"0072:03ff:1 -- u.lnk"},
        {75, entry(LogEntryKind::UninstallKey, -1, true, L"ignored"),
         L"0075:05ff:1 -- HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mobrix 6"},
        {76, entry(LogEntryKind::Registration, -1, true, L""), L"0076:06ff:1 -- HKEY_CLASSES_ROOT\\..."},
        {77, entry(LogEntryKind::DirectX, -1, false, L"DirectX"), L"0077:07ff:0 -- DirectX"},
        {12345, entry(LogEntryKind::File, 0x1234, true, L"x"), L"12345:0134:1 -- x"},  // low 8 bits only
    };
    for (const Case& c : cases) EXPECT_EQ(zu::ulog::EntryLine(c.index, c.entry), c.line);
}

TEST_F(JournalTest, FailedShortcutIsWrittenWithoutTextAndReadBackAsSuch) {
    MakeFolder(P(L"Menu"));
    const std::wstring logPath = P(L"Uninstall.ulog");
    CUninstallLog log;
    log.BeginShortcut(0, P(L"Menu"));
    log.Complete(false);
    ASSERT_TRUE(log.Write(logPath, P(), P(L"Menu")));
    const std::string bytes = ReadBytes(logPath);
    const std::string line = journal_test::Utf16(L"0000:02ff:0 -- \r\n");
    ASSERT_GE(bytes.size(), line.size());
    EXPECT_EQ(bytes.substr(bytes.size() - line.size()), line);

    CUninstallLog again;
    again.Read(logPath);
    ASSERT_EQ(again.earlierEntries().size(), 1u);
    EXPECT_EQ(again.earlierEntries()[0].kind, LogEntryKind::MenuShortcut);
    EXPECT_FALSE(again.earlierEntries()[0].done);
    EXPECT_EQ(again.earlierEntries()[0].text, L"");
    EXPECT_EQ(again.earlierEntries()[0].detail, -1);
    EXPECT_EQ(again.shortcutPath(), P(L"Menu"));
}

TEST_F(JournalTest, WrittenLogIsReadOnlyArchivedAndNotIndexedAndCanBeWrittenAgain) {
    namespace fs = zu::journal_platform;
    const std::wstring logPath = P(L"Uninstall.ulog");
    for (int run = 0; run < 2; ++run) {
        CUninstallLog log;
        log.BeginDirectX();
        log.Complete(run == 1);
        ASSERT_TRUE(log.Write(logPath, P(), P())) << "run " << run;
        EXPECT_EQ(fs::get_attributes(logPath), std::optional<std::uint32_t>(0x2021));
        EXPECT_FALSE(IsWritable(logPath));
    }
    EXPECT_NE(ReadBytes(logPath).find(journal_test::Utf16(L"0000:07ff:1 -- ")), std::string::npos);
}

// The earlier log must survive a Write that cannot finish: the uninstaller depends on it.
TEST_F(JournalTest, FailedWriteLeavesTheEarlierLogAndStillDeletesBackups) {
    const std::wstring logPath = P(L"Uninstall.ulog");
    const std::string earlier = Utf16Log({kHeader0, L"// earlier"});
    WriteBytes(logPath, earlier);
    ::chmod(journal_test::Utf8(logPath).c_str(), 0444);
    MakeFolder(logPath + L".new");  // the place the new log is written first cannot be used

    WriteBytes(P(L"old.dll"), "old");
    CUninstallLog log;
    log.BeginFile(P(L"old.dll"), 0, false);
    log.Complete(true);
    ASSERT_EQ(TempFiles().size(), 1u);

    EXPECT_FALSE(log.Write(logPath, P(), P()));
    EXPECT_EQ(ReadBytes(logPath), earlier);
    EXPECT_FALSE(IsWritable(logPath));  // its attributes too
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_TRUE(log.currentEntries().at(0).backupPath.empty());
}

TEST_F(JournalTest, WriteIntoMissingFolderFails) {
    CUninstallLog log;
    EXPECT_FALSE(log.Write(P(L"missing/Uninstall.ulog"), P(), P()));
    EXPECT_FALSE(Exists(P(L"missing")));
}

}  // namespace
