// Reading an earlier log: what is taken, where the reading stops, and what is kept then.
#include "journal_fixture.hpp"

#include "system/uninstall_log_file.hpp"

using journal_test::JournalTest;
using journal_test::Utf16;
using journal_test::Utf16Log;
using journal_test::Utf8;
using zu::CUninstallLog;
using zu::LogEntryKind;
using zu::ulog::ReadStop;

namespace {

struct Expected {
    LogEntryKind kind;
    std::int32_t detail;
    bool done;
    std::wstring text;
};

void ExpectEntries(const std::vector<zu::LogEntry>& actual, const std::vector<Expected>& expected, const char* name) {
    ASSERT_EQ(actual.size(), expected.size()) << name;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].kind, expected[i].kind) << name << " entry " << i;
        EXPECT_EQ(actual[i].detail, expected[i].detail) << name << " entry " << i;
        EXPECT_EQ(actual[i].done, expected[i].done) << name << " entry " << i;
        EXPECT_EQ(actual[i].text, expected[i].text) << name << " entry " << i;
        EXPECT_TRUE(actual[i].backupPath.empty()) << name << " entry " << i;
    }
}

TEST_F(JournalTest, ReaderTakesWhatItCanAndStopsAtTheFirstLineItCannotUse) {
    const std::wstring here = P();
    const std::wstring gone = P(L"gone");
    const std::wstring chinese = P(L"\u5b89\u88c5/\u6587\u4ef6.dll");  // 安装/文件.dll
    auto header = [&](const std::wstring& version) {
        return std::vector<std::wstring>{L"// Uninstall Log File " + version,
                                         L"// ############ WARNING: Do not delete or modify this file. ############",
                                         L"// Install Mobrix 6.05h -- Update (Mobrix 6.05g)",
                                         L"// Install Path : " + here,
                                         L"// Shortcut Path : " + gone,
                                         L"// ----------------"};
    };
    auto with = [&](std::vector<std::wstring> lines, std::initializer_list<std::wstring> more) {
        lines.insert(lines.end(), more);
        return lines;
    };
    const std::wstring longText(511 - 15 - 2, L'x');  // 1,022 bytes with "0000:0100:1 -- ", CR LF

    struct Case {
        const char* name;
        std::string bytes;
        ReadStop stop;
        std::vector<Expected> entries;
        bool headerTaken;  // product and install path were read
    };
    const Case cases[] = {
        {"all kinds", Utf16Log(with(header(L"v1"), {
             L"0000:00ff:1 -- " + here,
             L"0001:0103:1 -- " + here + L"/shared.dat",
             L"0002:02ff:0 -- ",
             L"0003:05ff:1 -- HKEY_LOCAL_MACHINE\\whatever it says",
             L"0004:06ff:1 -- HKEY_CLASSES_ROOT\\...",
             L"0005:07ff:1 -- DirectX  text",
             L"0006:0100:0 -- " + chinese})),
         ReadStop::EndOfFile,
         {{LogEntryKind::Folder, -1, true, here},
          {LogEntryKind::File, 3, true, here + L"/shared.dat"},
          {LogEntryKind::MenuShortcut, -1, false, L""},
          {LogEntryKind::UninstallKey, -1, true, L""},
          {LogEntryKind::Registration, -1, true, L""},
          {LogEntryKind::DirectX, -1, true, L"DirectX  text"},
          {LogEntryKind::File, 0, false, chinese}},
         true},
        {"version 2", Utf16Log(with(header(L"v2"), {L"0000:00ff:1 -- " + here})), ReadStop::WrongVersion, {}, false},
        {"no version", Utf16Log(with(header(L"x1"), {L"0000:00ff:1 -- " + here})), ReadStop::WrongVersion, {}, false},
        {"entry before header", Utf16Log({L"0000:00ff:1 -- " + here}), ReadStop::WrongVersion, {}, false},
        {"blank line", Utf16Log(with(header(L"v1"), {L"0000:00ff:1 -- a", L"", L"0001:00ff:1 -- b"})),
         ReadStop::BadEntry, {{LogEntryKind::Folder, -1, true, L"a"}}, true},
        {"kind 8", Utf16Log(with(header(L"v1"), {L"0000:00ff:1 -- a", L"0001:08ff:1 -- b", L"0002:00ff:1 -- c"})),
         ReadStop::BadEntry, {{LogEntryKind::Folder, -1, true, L"a"}}, true},
        {"done 2", Utf16Log(with(header(L"v1"), {L"0000:0100:2 -- a"})), ReadStop::BadEntry, {}, true},
        {"negative index", Utf16Log(with(header(L"v1"), {L"-1:0100:1 -- a"})), ReadStop::BadEntry, {}, true},
        {"no blank before text", Utf16Log(with(header(L"v1"), {L"0000:0100:1 --a"})), ReadStop::BadEntry, {}, true},
        {"missing colon", Utf16Log(with(header(L"v1"), {L"0000 0100:1 -- a"})), ReadStop::BadEntry, {}, true},
        {"spaces between fields, end after dashes",
         Utf16Log(with(header(L"v1"), {L"  12 :  0104 : 1 --   spaced text  ", L"7:2ff:0 --"})),
         ReadStop::EndOfFile,
         {{LogEntryKind::File, 4, true, L"spaced text"}, {LogEntryKind::MenuShortcut, -1, false, L""}},
         true},
        {"header lines after entries", Utf16Log(with(header(L"v1"), {L"0000:00ff:1 -- a", L"// note", L"1:00ff:1 -- b"})),
         ReadStop::EndOfFile, {{LogEntryKind::Folder, -1, true, L"a"}, {LogEntryKind::Folder, -1, true, L"b"}}, true},
        {"last line without line end",
         Utf16Log(header(L"v1")) + Utf16(L"0000:00ff:1 -- tail") + "\x41",  // and half a code unit
         ReadStop::EndOfFile, {{LogEntryKind::Folder, -1, true, L"tail"}}, true},
        {"line of 1022 bytes", Utf16Log(with(header(L"v1"), {L"0000:0100:1 -- " + longText})), ReadStop::EndOfFile,
         {{LogEntryKind::File, 0, true, longText}}, true},
        {"line of 1024 bytes", Utf16Log(with(header(L"v1"), {L"0000:00ff:1 -- a", L"0001:0100:1 -- " + longText + L"y"})),
         ReadStop::LineTooLong, {{LogEntryKind::Folder, -1, true, L"a"}}, true},
        {"header without install label",
         Utf16Log({L"// Uninstall Log File v1", L"// warning", L"// Mobrix", L"0000:00ff:1 -- a"}), ReadStop::BadHeader,
         {}, false},
        // The writer's "Shortcut Path : " with nothing after it loses its last blank to the
        // trimming, so the label is not found: an empty folder ends the reading there.
        {"empty shortcut path",
         Utf16Log({L"// Uninstall Log File v1", L"// w", L"// Install Mobrix 6.05h", L"// Install Path : " + here,
                   L"// Shortcut Path : ", L"// -", L"0000:00ff:1 -- a"}),
         ReadStop::BadHeader, {}, true},
        {"empty file", "", ReadStop::EndOfFile, {}, false},
        {"only the byte-order mark", "\xFF\xFE", ReadStop::EndOfFile, {}, false},
    };

    for (const Case& c : cases) {
        const std::wstring path = P(L"case.ulog");
        WriteBytes(path, c.bytes);
        CUninstallLog log;
        log.Read(path);
        ExpectEntries(log.earlierEntries(), c.entries, c.name);
        EXPECT_EQ(log.installPath(), c.headerTaken ? here : L"") << c.name;
        EXPECT_EQ(log.shortcutPath(), L"") << c.name << ": that folder does not exist";
        EXPECT_EQ(log.earlierProduct(), c.headerTaken ? L"Mobrix 6.05h" : L"") << c.name;
        EXPECT_EQ(zu::ulog::ParseLog(zu::ulog::MemorySource(c.bytes.data(), c.bytes.size())).stop, c.stop) << c.name;
    }
}

TEST_F(JournalTest, LogWithoutByteOrderMarkIsReadInTheAnsiCodePage) {
    // "é" is E9 and "€" is 80 in the western ANSI code page.
    const std::string bytes = "// Uninstall Log File v1\r\n// w\r\n// Install Mobrix 6.05h\r\n// Install Path : " +
                              Utf8(P()) + "\r\n// Shortcut Path : x\r\n// ---\r\n0000:0100:1 -- C:\\Caf\xE9\\\x80.dll\r\n";
    const std::wstring path = P(L"ansi.ulog");
    WriteBytes(path, bytes);
    CUninstallLog log;
    log.Read(path);
    ExpectEntries(log.earlierEntries(), {{LogEntryKind::File, 0, true, L"C:\\Caf\u00e9\\\u20ac.dll"}}, "ansi");
    EXPECT_EQ(log.installPath(), P());
    EXPECT_FALSE(zu::ulog::ParseLog(zu::ulog::MemorySource(bytes.data(), bytes.size())).utf16);
}

TEST_F(JournalTest, ReadWithoutPathOnlyForgetsTheFolders) {
    const std::wstring path = P(L"first.ulog");
    WriteBytes(path, Utf16Log({L"// Uninstall Log File v1", L"// w", L"// Install Mobrix 6.05g", L"// Install Path : " + P(),
                               L"// Shortcut Path : " + P(), L"// -", L"0000:07ff:1 -- dx"}));
    CUninstallLog log;
    log.Read(path);
    ASSERT_EQ(log.shortcutPath(), P());
    log.Read(std::nullopt);
    EXPECT_EQ(log.installPath(), L"");
    EXPECT_EQ(log.shortcutPath(), L"");
    EXPECT_EQ(log.earlierProduct(), L"Mobrix 6.05g");
    EXPECT_TRUE(log.EarlierSucceeded(LogEntryKind::DirectX));
    log.Read(P(L"no such file"));
    EXPECT_EQ(log.earlierEntries().size(), 1u);
}

// Reinstalling again and again: the reader cuts line 2 at "--", so it never grows.
TEST_F(JournalTest, UpdatePartDoesNotGrowFromRunToRun) {
    const std::wstring logPath = P(L"Uninstall.ulog");
    for (int run = 0; run < 3; ++run) {
        CUninstallLog log;
        log.Read(logPath);
        log.BeginDirectX();
        log.Complete(true);
        ASSERT_TRUE(log.Write(logPath, P(), P()));
        const std::wstring expected = run == 0 ? L"// Install Mobrix 6.05h\r\n" : L"// Install Mobrix 6.05h -- Update (Mobrix 6.05h)\r\n";
        EXPECT_NE(ReadBytes(logPath).find(Utf16(expected)), std::string::npos) << "run " << run;
        CUninstallLog again;
        again.Read(logPath);
        EXPECT_EQ(again.earlierProduct(), L"Mobrix 6.05h");
        EXPECT_EQ(again.earlierEntries().size(), 1u) << "run " << run << ": the DirectX entry replaces its predecessor";
    }
}

}  // namespace
