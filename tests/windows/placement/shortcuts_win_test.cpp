// Shell links written through the real shell and read back through it: their targets, working
// folders and names, the folders made on the way, and the step's choices.
#include <gtest/gtest.h>

#include "engine/shortcut_step.hpp"
#include "native/common/recording_view.hpp"
#include "placement_fixture.hpp"
#include "support/wide_path.hpp"
#include "system/shortcut_link.hpp"

using namespace zu;
using placement_test::Exists;
using placement_test::PlacementWinTest;

namespace {

struct ResolvedLink {
    bool loaded = false;
    std::wstring target;
    std::wstring workingFolder;
};

// Loads a .lnk with the shell's own link object.
ResolvedLink Resolve(const std::wstring& link) {
    ResolvedLink resolved;
    const HRESULT init = ::CoInitialize(nullptr);
    {
        unique_com<IShellLinkW> shellLink;
        unique_com<IPersistFile> file;
        if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                         reinterpret_cast<void**>(shellLink.put()))) &&
            SUCCEEDED(shellLink.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))) &&
            SUCCEEDED(file.get()->Load(link.c_str(), STGM_READ))) {
            wchar_t buffer[MAX_PATH] = {};
            resolved.loaded = SUCCEEDED(shellLink.get()->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH));
            resolved.target = buffer;
            wchar_t folder[MAX_PATH] = {};
            shellLink.get()->GetWorkingDirectory(folder, MAX_PATH);
            resolved.workingFolder = folder;
        }
    }
    if (SUCCEEDED(init)) ::CoUninitialize();
    return resolved;
}

class ShortcutsWinTest : public PlacementWinTest {
protected:
    void SetUp() override {
        PlacementWinTest::SetUp();
        MakeFolder(P(L"Mobrix 6"));
        exe = P(L"Mobrix 6\\Mobrix.exe");
        uninstaller = P(L"Mobrix 6\\Uninstall.exe");
        placement_test::WriteFileBytes(exe, "program");
        placement_test::WriteFileBytes(uninstaller, "uninstaller");
        MakeFolder(P(L"Desktop"));
        MakeFolder(P(L"Public Desktop"));
        context.shortcutFolder = P(L"Start Menu\\Programs\\Quillon\\Mobrix 6");
    }

    void ExpectLink(const std::wstring& link, const std::wstring& target) {
        ASSERT_TRUE(Exists(link)) << to_utf8(link);
        const ResolvedLink resolved = Resolve(link);
        ASSERT_TRUE(resolved.loaded) << to_utf8(link);
        EXPECT_EQ(to_utf8(resolved.target), to_utf8(target));
        EXPECT_EQ(to_utf8(resolved.workingFolder), to_utf8(P(L"Mobrix 6")));
    }

    std::vector<LogEntryKind> Kinds() const {
        std::vector<LogEntryKind> kinds;
        for (const LogEntry& e : log.currentEntries()) kinds.push_back(e.kind);
        return kinds;
    }

    special_folders Desktops() const {
        return special_folders({{csidl::common_desktop_directory, P(L"Public Desktop")}, {csidl::desktop_directory, P(L"Desktop")}});
    }

    std::wstring exe, uninstaller;  // below the test's folder, made in SetUp
    InstallContext context;
    zu_test::RecordingView view;
    CUninstallLog log;
};

}  // namespace

TEST_F(ShortcutsWinTest, CreateShortcutNamesByTheTargetWithoutANameAndFailsOnLongPaths) {
    const ShortcutResult made = CreateShortcut(exe, P(L"Desktop"));
    ASSERT_TRUE(made.ok);
    EXPECT_EQ(to_utf8(made.linkPath), to_utf8(P(L"Desktop\\Mobrix.lnk")));
    ExpectLink(made.linkPath, exe);

    EXPECT_FALSE(CreateShortcut(exe, P(L"Desktop"), std::wstring(250, L'n')).ok) << "the link path would not fit";
    EXPECT_FALSE(CreateShortcut(L"C:\\", P(L"Desktop"), std::wstring(L"bare")).ok) << "no file name to remove";
    EXPECT_FALSE(Exists(P(L"Desktop\\bare.lnk")));
}

TEST_F(ShortcutsWinTest, EnglishStepMakesThreeLinksAndTheMissingMenuFoldersAsFolderEntries) {
    ASSERT_TRUE(RunShortcutStep(view, log, context, exe, uninstaller, Desktops()));
    EXPECT_EQ(view.log(), L"Shortcuts Creation...OK\r\n");
    EXPECT_EQ(view.progressText(), L"Shortcuts Creation...");

    const std::wstring menu = context.shortcutFolder;
    ExpectLink(menu + L"\\Mobrix 6.05h.lnk", exe);
    ExpectLink(menu + L"\\Uninstall Mobrix.lnk", uninstaller);
    ExpectLink(P(L"Public Desktop\\Mobrix 6.05h.lnk"), exe);
    EXPECT_FALSE(Exists(P(L"Desktop\\Mobrix 6.05h.lnk"))) << "the all-users desktop comes first";

    // Start Menu, Programs, Quillon and Mobrix 6 did not exist: each recorded, outermost first.
    EXPECT_EQ(Kinds(), (std::vector<LogEntryKind>{LogEntryKind::Folder, LogEntryKind::Folder, LogEntryKind::Folder,
                                                  LogEntryKind::Folder, LogEntryKind::MenuShortcut,
                                                  LogEntryKind::UninstallShortcut, LogEntryKind::DesktopShortcut}));
    const auto& entries = log.currentEntries();
    EXPECT_EQ(to_utf8(entries[0].text), to_utf8(P(L"Start Menu")));
    EXPECT_EQ(to_utf8(entries[3].text), to_utf8(menu));
    EXPECT_EQ(to_utf8(entries[4].text), to_utf8(menu + L"\\Mobrix 6.05h.lnk"));
    EXPECT_EQ(to_utf8(entries[5].text), to_utf8(menu + L"\\Uninstall Mobrix.lnk"));
    EXPECT_EQ(to_utf8(entries[6].text), to_utf8(P(L"Public Desktop\\Mobrix 6.05h.lnk")));
    for (const LogEntry& e : entries) EXPECT_TRUE(e.done);
}

TEST_F(ShortcutsWinTest, FrenchUninstallerLinkAndTheUsersDesktopWhenThereIsNoCommonOne) {
    set_language(kFrench);
    ASSERT_TRUE(RunShortcutStep(view, log, context, exe, uninstaller,
                                special_folders({{csidl::desktop_directory, P(L"Desktop")}})));
    EXPECT_EQ(view.log(), L"Création des raccourcis...OK\r\n");
    ExpectLink(context.shortcutFolder + L"\\D\u00e9sinstaller Mobrix.lnk", uninstaller);
    ExpectLink(context.shortcutFolder + L"\\Mobrix 6.05h.lnk", exe);
    ExpectLink(P(L"Desktop\\Mobrix 6.05h.lnk"), exe);
}

TEST_F(ShortcutsWinTest, OnlyTheDesktopLinkOnTheSystemsCommonDesktop) {
    context.menuShortcut = false;
    wchar_t common[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, common, CSIDL_COMMON_DESKTOPDIRECTORY, FALSE));
    const std::wstring link = std::wstring(common) + L"\\Mobrix 6.05h.lnk";
    ASSERT_FALSE(Exists(link)) << "left over by something else";
    RemoveAtEnd(link);

    ASSERT_TRUE(RunShortcutStep(view, log, context, exe, uninstaller));
    ExpectLink(link, exe);
    EXPECT_FALSE(Exists(context.shortcutFolder));
    EXPECT_EQ(Kinds(), (std::vector<LogEntryKind>{LogEntryKind::DesktopShortcut}));
    EXPECT_EQ(view.log(), L"Shortcuts Creation...OK\r\n");
}

TEST_F(ShortcutsWinTest, NeitherChosenLeavesNoLineAndNoEntry) {
    context.menuShortcut = context.desktopShortcut = false;
    EXPECT_TRUE(RunShortcutStep(view, log, context, exe, uninstaller, Desktops()));
    EXPECT_TRUE(view.calls().empty());
    EXPECT_TRUE(log.currentEntries().empty());
}

TEST_F(ShortcutsWinTest, AFailedLinkMarksTheLineAndItsEntryButTheOthersAreMade) {
    // A target path too long for the link: only the uninstaller's link can be written.
    const std::wstring longTarget = P(std::wstring(230, L'x') + L"\\Mobrix.exe");
    ASSERT_GE(longTarget.size(), static_cast<std::size_t>(MAX_PATH));
    context.desktopShortcut = false;
    EXPECT_FALSE(RunShortcutStep(view, log, context, longTarget, uninstaller, Desktops()));
    EXPECT_EQ(view.log(), L"Shortcuts Creation...Failed\r\n");
    ExpectLink(context.shortcutFolder + L"\\Uninstall Mobrix.lnk", uninstaller);
    const auto& entries = log.currentEntries();
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[4].kind, LogEntryKind::MenuShortcut);
    EXPECT_FALSE(entries[4].done);
    EXPECT_TRUE(entries[4].text.empty());
    EXPECT_TRUE(entries[5].done);
}
