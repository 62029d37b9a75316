// The merge of an earlier log into this run's, and the path comparison it relies on.
#include "journal_fixture.hpp"

#include <unistd.h>

using journal_test::JournalTest;
using zu::LogEntry;
using zu::LogEntryKind;

namespace {

LogEntry E(LogEntryKind kind, std::wstring text, bool done = true) {
    LogEntry e;
    e.kind = kind;
    e.text = std::move(text);
    e.done = done;
    e.detail = kind == LogEntryKind::File ? 0 : -1;
    return e;
}

std::vector<std::wstring> Describe(const std::vector<LogEntry>& entries) {
    std::vector<std::wstring> out;
    for (const LogEntry& e : entries) out.push_back(std::wstring(zu::LogEntryKindName(e.kind)) + L" " + e.text);
    return out;
}

TEST_F(JournalTest, MergeKeepsEarlierEntriesNotRecordedAgainInFrontInTheirOrder) {
    using K = LogEntryKind;
    struct Case {
        const char* name;
        std::vector<LogEntry> earlier, current;
        std::vector<std::wstring> merged;
    };
    const Case cases[] = {
        {"first installation", {}, {E(K::Folder, L"C:\\P"), E(K::File, L"C:\\P\\a")}, {L"Folder C:\\P", L"File C:\\P\\a"}},
        {"reinstallation",
         {E(K::Folder, L"C:\\P"), E(K::File, L"C:\\P\\a"), E(K::File, L"C:\\P\\old"), E(K::MenuShortcut, L"C:\\S\\old.lnk"),
          E(K::UninstallKey, L""), E(K::DirectX, L"dx")},
         {E(K::File, L"C:\\P\\a"), E(K::MenuShortcut, L"C:\\S\\new.lnk"), E(K::UninstallKey, L"")},
         {L"Folder C:\\P", L"File C:\\P\\old", L"DirectX dx", L"File C:\\P\\a", L"MenuShortcut C:\\S\\new.lnk",
          L"UninstallKey "}},
        {"no shortcut this time keeps the earlier one",
         {E(K::MenuShortcut, L"C:\\S\\old.lnk"), E(K::DesktopShortcut, L"D:\\d.lnk")},
         {E(K::DesktopShortcut, L"")},
         {L"MenuShortcut C:\\S\\old.lnk", L"DesktopShortcut "}},
        {"kinds 2 to 7 superseded by kind alone",
         {E(K::UninstallShortcut, L"u1"), E(K::Registration, L""), E(K::DirectX, L"old text", true)},
         {E(K::UninstallShortcut, L"u2", false), E(K::Registration, L"", false), E(K::DirectX, L"new text", false)},
         {L"UninstallShortcut u2", L"Registration ", L"DirectX new text"}},
        {"same path in other case and separators",
         {E(K::File, L"C:\\P\\Lang\\X.DLL"), E(K::Folder, L"C:/P/Lang/")},
         {E(K::Folder, L"c:\\p\\lang"), E(K::File, L"c:/p/./sub/../lang/x.dll")},
         {L"Folder c:\\p\\lang", L"File c:/p/./sub/../lang/x.dll"}},
        {"same path, other kind",
         {E(K::Folder, L"C:\\P\\a")}, {E(K::File, L"C:\\P\\a")}, {L"Folder C:\\P\\a", L"File C:\\P\\a"}},
        {"earlier duplicates: the later one survives",
         {E(K::File, L"C:\\x", false), E(K::MenuShortcut, L"m1"), E(K::File, L"C:\\X", true), E(K::MenuShortcut, L"m2")},
         {},
         {L"File C:\\X", L"MenuShortcut m2"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Describe(zu::MergeEntries(c.earlier, c.current)), c.merged) << c.name;
}

TEST_F(JournalTest, SamePathTriesElementsThenTheFileThenTheAbsolutePath) {
    WriteBytes(P(L"a.txt"), "a");
    WriteBytes(P(L"b.txt"), "a");
    ASSERT_EQ(::symlink("a.txt", journal_test::Utf8(P(L"link.txt")).c_str()), 0);
    MakeFolder(P(L"Sub"));
    const std::string cwd = root_ + "/Sub";
    char saved[4096];
    ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(::chdir(cwd.c_str()), 0);

    struct Case {
        std::wstring a, b;
        bool same;
    };
    const Case cases[] = {
        {L"C:\\x\\y", L"C:/x//y/", true},              // elements alike, nothing on disk
        {P(L"a.txt"), P(L"link.txt"), true},           // one file under two names
        {P(L"a.txt"), P(L"b.txt"), false},             // equal content is not the same file
        {P(L"a.txt"), P(L"A.TXT"), false},             // one opens, the other does not
        {P(L"missing"), P(L"MISSING"), true},          // neither opens: case does not count
        {L"gone/../none", P(L"Sub/none"), true},       // relative to the current folder
        {P(L"missing/a"), P(L"missing/b"), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zu::SamePath(c.a, c.b), c.same) << journal_test::Utf8(c.a) << " | " << journal_test::Utf8(c.b);
    ASSERT_EQ(::chdir(saved), 0);
}

}  // namespace
