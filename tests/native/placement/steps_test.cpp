// The steps after the extraction, natively: the temporary folder's path, the uninstall key in
// the in-memory registry, the shortcut step's choices and names, the DirectX skip rule.
#include <gtest/gtest.h>

#include <regex>

#include "engine/directx_step.hpp"
#include "engine/shortcut_step.hpp"
#include "i18n/language_state.hpp"
#include "journal/journal_fixture.hpp"
#include "native/common/recording_view.hpp"
#include "support/product_identity.hpp"
#include "system/directx_setup.hpp"
#include "system/registry_double.hpp"
#include "system/registry_layer.hpp"
#include "system/temp_folder_path.hpp"
#include "system/uninstall_registration.hpp"

using namespace zu;

TEST(TempFolderPath, UuidNameBelowTheUserTemporaryFolderUpTo246Characters) {
    const std::wstring uuid = L"0f8fad5b-d9cb-469f-a165-70867728950e";
    EXPECT_EQ(TempFolderPathFrom(24, L"C:\\users\\root\\Temp\\", 0, uuid).text,
              L"C:\\users\\root\\Temp\\quillon_{0f8fad5b-d9cb-469f-a165-70867728950e}");
    const std::wstring longest(246, L'x');
    EXPECT_TRUE(TempFolderPathFrom(246, longest, 0, uuid).ok);
    const TempFolderPathResult tooLong = TempFolderPathFrom(247, std::wstring(247, L'x'), 0, uuid);
    EXPECT_FALSE(tooLong.ok);
    EXPECT_EQ(tooLong.text, L"00000000 (GetTempPath)");
    EXPECT_EQ(TempFolderPathFrom(0, L"", 0x8007000Eu, uuid).text, L"8007000e (GetTempPath)") << "lower-case digits";

    const std::wregex form(L"[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    const std::wstring first = RandomUuidText(), second = RandomUuidText();
    EXPECT_TRUE(std::regex_match(first, form)) << journal_test::Utf8(first);
    EXPECT_NE(first, second);
    const TempFolderPathResult made = MakeTempFolderPath();
    ASSERT_TRUE(made.ok);
    EXPECT_NE(made.text.find(L"quillon_{"), std::wstring::npos);
    EXPECT_EQ(made.text.back(), L'}');
}

class UninstallEntryNative : public journal_test::JournalTest {
protected:
    void SetUp() override {
        JournalTest::SetUp();
        registry_layer::reset_store();
        registry_double::create_key(kUninstallParentKey);
        set_language(kFrench);
    }
    void TearDown() override {
        registry_layer::deny_access(kUninstallParentKey, false);
        registry_layer::reset_store();
        JournalTest::TearDown();
    }
    const std::wstring key = ProductIdentity::uninstallKey;
};

TEST_F(UninstallEntryNative, TwelveValuesInOrderWithTheirTypesAndSizes) {
    CUninstallLog log;
    registry_double::set_value(key, L"OldVersionValue", L"kept");
    ASSERT_TRUE(WriteUninstallEntry(L"C:\\P\\Mobrix.exe", L"C:\\P\\Uninstall.exe", log));
    EXPECT_EQ(registry_layer::value_names(key),
              (std::vector<std::wstring>{L"DisplayName", L"UninstallString", L"DisplayIcon", L"DisplayVersion", L"Publisher",
                                         L"URLInfoAbout", L"HelpLink", L"URLUpdateInfo", L"HelpTelephone", L"NoModify",
                                         L"NoRepair", L"ZuLanguage"}));
    const auto icon = registry_layer::value_of(key, L"DisplayIcon");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->type, registry_layer::kTypeString);
    EXPECT_EQ(icon->data.size(), (std::wstring(L"C:\\P\\Mobrix.exe,0").size() + 1) * 2);
    EXPECT_EQ(registry_layer::value_of(key, L"ZuLanguage")->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(registry_double::value(key, L"OldVersionValue"), std::wstring(L"kept"));
    ASSERT_EQ(log.currentEntries().size(), 1u);
    EXPECT_EQ(log.currentEntries()[0].kind, LogEntryKind::UninstallKey);
    EXPECT_TRUE(log.currentEntries()[0].done);
    EXPECT_FALSE(log.currentEntries()[0].backupPath.empty()) << "the existing key was saved first";
}

TEST_F(UninstallEntryNative, NoRightsOnTheParentYieldFalseAndNoLogEntry) {
    registry_layer::deny_access(kUninstallParentKey, true);
    CUninstallLog log;
    EXPECT_FALSE(WriteUninstallEntry(L"C:\\P\\Mobrix.exe", L"C:\\P\\Uninstall.exe", log));
    EXPECT_TRUE(log.currentEntries().empty());
    EXPECT_FALSE(registry_double::key_exists(key));
}

TEST(UninstallValues, LanguageAndWebAddressInTheirPlaces) {
    const auto values = UninstallValues(L"M", L"U", kEnglish);
    ASSERT_EQ(values.size(), 12u);
    EXPECT_EQ(values[11].data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(values[5].data, values[6].data);
    EXPECT_EQ(values[6].data, values[7].data);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(values[i].type, registry_layer::kTypeString) << i;
        ASSERT_GE(values[i].data.size(), 2u);
        EXPECT_EQ(values[i].data[values[i].data.size() - 1], 0);
        EXPECT_EQ(values[i].data[values[i].data.size() - 2], 0) << "ends with its NUL";
    }
    for (std::size_t i = 9; i < 12; ++i) EXPECT_EQ(values[i].type, registry_layer::kTypeDword) << i;
}

class ShortcutStepNative : public journal_test::JournalTest {
protected:
    void SetUp() override {
        JournalTest::SetUp();
        set_language(kEnglish);
        context.shortcutFolder = P(L"menu/Quillon/Mobrix 6");
        MakeFolder(P(L"bin"));
        exe = P(L"bin/Mobrix.exe");
        uninstaller = P(L"bin/Uninstall.exe");
        MakeFolder(P(L"user-desktop"));
    }
    InstallContext context;
    zu_test::RecordingView view;
    CUninstallLog log;
    std::wstring exe, uninstaller;  // below the test's folder, made in SetUp
};

TEST_F(ShortcutStepNative, NeitherChosenShowsAndRecordsNothing) {
    context.menuShortcut = context.desktopShortcut = false;
    EXPECT_TRUE(RunShortcutStep(view, log, context, exe, uninstaller, special_folders(std::map<int, std::wstring>{})));
    EXPECT_TRUE(view.calls().empty());
    EXPECT_TRUE(log.currentEntries().empty());
}

TEST_F(ShortcutStepNative, MenuLinksNamedInTheLanguageAndDesktopFallsBackToTheUsers) {
    set_language(kFrench);
    EXPECT_TRUE(RunShortcutStep(view, log, context, exe, uninstaller,
                                special_folders({{csidl::desktop_directory, P(L"user-desktop")}})));
    EXPECT_EQ(view.log(), L"Création des raccourcis...OK\r\n");
    EXPECT_TRUE(Exists(P(L"menu/Quillon/Mobrix 6/Mobrix 6.05h.lnk")));
    EXPECT_TRUE(Exists(P(L"menu/Quillon/Mobrix 6/Désinstaller Mobrix.lnk")));
    EXPECT_TRUE(Exists(P(L"user-desktop/Mobrix 6.05h.lnk")));
    std::vector<LogEntryKind> kinds;
    for (const LogEntry& e : log.currentEntries()) kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector<LogEntryKind>{LogEntryKind::Folder, LogEntryKind::Folder, LogEntryKind::Folder,
                                                LogEntryKind::MenuShortcut, LogEntryKind::UninstallShortcut,
                                                LogEntryKind::DesktopShortcut}));
    EXPECT_EQ(log.currentEntries()[5].text, P(L"user-desktop/Mobrix 6.05h.lnk"));
}

TEST_F(ShortcutStepNative, NoDesktopAtAllFailsTheStepWithoutALinkInTheCurrentFolder) {
    context.menuShortcut = false;
    EXPECT_FALSE(RunShortcutStep(view, log, context, exe, uninstaller, special_folders(std::map<int, std::wstring>{})));
    EXPECT_EQ(view.log(), L"Shortcuts Creation...Failed\r\n");
    EXPECT_TRUE(log.currentEntries().empty());
}

TEST(DirectXStep, SkipRule) {
    struct Row {
        bool loaded;
        int state;
        bool earlier;
        bool runs;
    } rows[] = {
        {false, NotInstalled, false, false}, {false, SameVersion, false, false},
        {true, NotInstalled, false, true},   {true, NotInstalled, true, false},
        {true, SameVersion, true, true},     {true, SameVersion, false, true},
        {true, OlderInstalled, true, false}, {true, OlderInstalled, false, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(DirectXStepRuns(r.loaded, r.state, r.earlier), r.runs) << r.loaded << r.state << r.earlier;
    EXPECT_TRUE(DirectXVersionAccepted(0x00040009, 903));
    EXPECT_FALSE(DirectXVersionAccepted(0x00040009, 902));
    EXPECT_FALSE(DirectXVersionAccepted(0x00040008, 5000));
}

TEST(DirectXStep, NoLibraryNativelyMeansASilentSkip) {
    InstallContext context;
    context.tempFolder = L"/nonexistent";
    zu_test::RecordingView view;
    CUninstallLog log;
    EXPECT_EQ(RunDirectXStep(view, log, context), DirectXStepOutcome::skipped);
    EXPECT_TRUE(view.calls().empty());
    EXPECT_TRUE(log.currentEntries().empty());
}
