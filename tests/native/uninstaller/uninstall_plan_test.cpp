#include <gtest/gtest.h>

#include "system/uninstall_plan.hpp"

namespace {

using zu::LogEntry;
using zu::LogEntryKind;
using zu::UninstallAction;

LogEntry entry(LogEntryKind kind, std::wstring text, bool done = true) {
    LogEntry e;
    e.kind = kind;
    e.text = std::move(text);
    e.done = done;
    return e;
}

const zu::UninstallRoots kRoots{
    {L"C:\\ProgramData"},
    {L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs", L"C:\\users\\Public\\Desktop"},
    L"D:\\Apps\\Mobrix 6",
};

TEST(UninstallPlan, RemovesDoneEntriesNewestFirst) {
    const std::vector<LogEntry> log{
        entry(LogEntryKind::Folder, L"D:\\Apps\\Mobrix 6"),
        entry(LogEntryKind::Folder, L"D:\\Apps\\Mobrix 6\\Lang"),
        entry(LogEntryKind::File, L"D:\\Apps\\Mobrix 6\\Lang\\Mobrix.de.dll"),
        entry(LogEntryKind::File, L"C:\\ProgramData\\Quillon\\Materials\\wood.mat"),
        entry(LogEntryKind::File, L"D:\\Apps\\Mobrix 6\\never.dll", false),
        entry(LogEntryKind::MenuShortcut,
              L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quillon\\Mobrix 6\\Mobrix 6.05h.lnk"),
        entry(LogEntryKind::DesktopShortcut, L"", false),
        entry(LogEntryKind::UninstallKey, L""),
        entry(LogEntryKind::Registration, L""),
        entry(LogEntryKind::DirectX, L"Mise \u00E0 jour de DirectX..."),
    };
    const std::vector<UninstallAction> plan = zu::PlanUninstall(log, kRoots);
    const std::vector<std::pair<UninstallAction::Kind, std::wstring>> expected{
        {UninstallAction::RemoveRegistration, L""},
        {UninstallAction::DeleteUninstallKey, L""},
        {UninstallAction::DeleteShortcut, log[5].text},
        {UninstallAction::DeleteFile, log[3].text},
        {UninstallAction::DeleteFile, log[2].text},
        {UninstallAction::RemoveFolderIfEmpty, log[1].text},
        {UninstallAction::RemoveFolderIfEmpty, log[0].text},
    };
    ASSERT_EQ(plan.size(), expected.size());
    for (size_t i = 0; i < plan.size(); ++i) {
        EXPECT_EQ(plan[i].kind, expected[i].first) << i;
        EXPECT_EQ(plan[i].path, expected[i].second) << i;
    }
}

TEST(UninstallPlan, HandEditedEntriesOutsideTheProductsPlacesAreLeftAlone) {
    const std::vector<LogEntry> log{
        entry(LogEntryKind::File, L"C:\\windows\\system32\\kernel32.dll"),
        entry(LogEntryKind::File, L"D:\\Apps\\Mobrix 6\\..\\..\\..\\windows\\win.ini"),
        entry(LogEntryKind::File, L"D:\\Apps\\Mobrix 6"),  // the installation folder itself
        entry(LogEntryKind::Folder, L"D:\\Apps"),          // created, but outside every root
        entry(LogEntryKind::File, L"relative\\file.dll"),
        entry(LogEntryKind::File, L"D:\\Apps\\Mobrix 6 Other\\x.dll"),
        entry(LogEntryKind::Folder, L"C:\\ProgramData"),
        entry(LogEntryKind::MenuShortcut, L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\not-a-link.exe"),
        entry(LogEntryKind::DesktopShortcut, L"D:\\Apps\\Mobrix 6\\x.lnk"),
        entry(LogEntryKind::File, L"d:/apps/mobrix 6/Mobrix.exe"),
    };
    const std::vector<UninstallAction> plan = zu::PlanUninstall(log, kRoots);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].path, log.back().text);
}

TEST(UninstallPlan, InsideTest) {
    EXPECT_TRUE(zu::IsStrictlyInside(L"C:\\a\\b", L"C:\\a"));
    EXPECT_TRUE(zu::IsStrictlyInside(L"c:\\A\\b\\", L"C:\\a\\"));
    EXPECT_FALSE(zu::IsStrictlyInside(L"C:\\a", L"C:\\a"));
    EXPECT_FALSE(zu::IsStrictlyInside(L"C:\\ab\\c", L"C:\\a"));
    EXPECT_FALSE(zu::IsStrictlyInside(L"D:\\a\\b", L"C:\\a"));
    EXPECT_FALSE(zu::IsStrictlyInside(L"C:\\a\\.\\b", L"C:\\a"));
    EXPECT_FALSE(zu::IsStrictlyInside(L"\\\\server\\a\\b", L"C:\\a"));
}

}  // namespace
