#include <gtest/gtest.h>

#include "app/default_folders.hpp"
#include "app/install_app.hpp"
#include "common/message_box_watcher.hpp"
#include "common/registry_sandbox.hpp"
#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"

namespace {

std::wstring special_folder(int csidl) {
    wchar_t buffer[MAX_PATH] = L"";
    ::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE);
    return buffer;
}

TEST(DefaultFolders, UnderTheSystemsOwnFolders) {
    const zu::FolderSources sources = zu::system_folder_sources();
    EXPECT_EQ(zu::DefaultInstallFolder(sources), L"C:\\Program Files\\Quillon\\Mobrix 6");
    EXPECT_EQ(zu::DefaultShortcutFolder(sources), special_folder(CSIDL_COMMON_PROGRAMS) + L"\\Quillon\\Mobrix 6");
    EXPECT_EQ(special_folder(CSIDL_COMMON_PROGRAMS), L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs");
}

TEST(DefaultFolders, FallBackOneSourceAtATime) {
    zu::FolderSources sources = zu::system_folder_sources();
    auto realSpecial = sources.specialFolder;
    // Program Files and the common programs folder unavailable: the registry value and the
    // user's programs folder.
    sources.specialFolder = [realSpecial](int csidl, std::wstring& folder) {
        return csidl != CSIDL_PROGRAM_FILES && csidl != CSIDL_COMMON_PROGRAMS && realSpecial(csidl, folder);
    };
    EXPECT_EQ(zu::DefaultInstallFolder(sources), L"C:\\Program Files\\Quillon\\Mobrix 6");
    EXPECT_EQ(zu::DefaultShortcutFolder(sources), special_folder(CSIDL_PROGRAMS) + L"\\Quillon\\Mobrix 6");
    // No registry value either: the Windows folder's root.
    sources.programFilesValue = [](std::wstring&) { return false; };
    sources.windowsFolder = [] { return std::wstring(L"D:\\WINNT"); };
    EXPECT_EQ(zu::DefaultInstallFolder(sources), L"D:\\Program Files\\Quillon\\Mobrix 6");
    // The real registry value is read as text.
    std::wstring fromRegistry;
    ASSERT_TRUE(zu::system_folder_sources().programFilesValue(fromRegistry));
    EXPECT_EQ(fromRegistry, L"C:\\Program Files");
}

TEST(InitInstance, FreshMachineGetsDefaultsAndFixedChoices) {
    zu_test::UninstallKeySandbox key;
    zu::CInstallApp app;
    app.showWizard = false;
    app.context.menuShortcut = false;
    app.context.advancedMode = true;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(zu::get_language(), zu::kEnglish);
    EXPECT_EQ(app.context.appTitle, L"Installer \u2013 Mobrix 6.05h");
    EXPECT_EQ(app.context.installState, zu::NotInstalled);
    EXPECT_EQ(app.context.installFolder, L"C:\\Program Files\\Quillon\\Mobrix 6");
    EXPECT_EQ(app.context.shortcutFolder, special_folder(CSIDL_COMMON_PROGRAMS) + L"\\Quillon\\Mobrix 6");
    EXPECT_TRUE(app.context.menuShortcut);
    EXPECT_TRUE(app.context.desktopShortcut);
    EXPECT_FALSE(app.context.advancedMode);
    EXPECT_FALSE(app.context.installDone);
}

TEST(InitInstance, StoredGermanGivesAGermanTitleAndKeepsGivenFolders) {
    zu_test::UninstallKeySandbox key;
    key.SetDword(L"ZuLanguage", 2);
    zu::CInstallApp app;
    app.showWizard = false;
    app.context.installFolder = L"E:\\Earlier";
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(zu::get_language(), 2);
    EXPECT_EQ(app.context.appTitle, LoadMessage(1000) + L" \u2013 Mobrix 6.05h");
    EXPECT_NE(LoadMessage(1000), L"Installer");
    EXPECT_EQ(app.context.installFolder, L"E:\\Earlier");
}

TEST(InstallState, VersionIsGivenOnlyForUpdatesAndNewerVersions) {
    zu::CInstallApp app;
    app.context.installedVersion = L"Mobrix 6.05g";
    for (int state : {0, 1, 2, -1}) {
        app.context.installState = state;
        std::wstring version = L"unchanged";
        EXPECT_EQ(app.GetInstallState(&version), state);
        EXPECT_EQ(version, (state == 2 || state == -1) ? L"Mobrix 6.05g" : L"unchanged") << state;
        EXPECT_EQ(app.GetInstallState(), state);
    }
}

TEST(SelectLanguage, UntranslatedPickIsAnnouncedInEnglishAndRunsInEnglish) {
    zu::CInstallApp app;
    zu::set_language(zu::kFrench);
    app.UpdateTitle();
    int reloads = 0;
    app.onLanguageChanged = [&reloads] { ++reloads; };

    zu_test::MessageBoxWatcher watcher(IDOK);
    SelectLanguage(5);  // Dutch
    const zu_test::SeenBox box = watcher.Result();
    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.caption, L"Installeur \u2013 Mobrix 6.05h");  // the title before the pick
    EXPECT_EQ(box.text,
              L"'Mobrix' will be installed in the selected Langage, but the Installer, still under translation,  shall "
              L"run in English.");
    EXPECT_EQ(zu::get_language(), zu::kEnglish);
    EXPECT_EQ(app.context.appTitle, L"Installer \u2013 Mobrix 6.05h");
    EXPECT_EQ(reloads, 1);
}

TEST(SelectLanguage, TranslatedPickChangesTheTitleWithoutABox) {
    zu::CInstallApp app;
    zu::set_language(zu::kEnglish);
    zu_test::MessageBoxWatcher watcher(IDOK);
    SelectLanguage(0);
    EXPECT_FALSE(watcher.Result().seen);
    EXPECT_EQ(zu::get_language(), zu::kFrench);
    EXPECT_EQ(app.context.appTitle, L"Installeur \u2013 Mobrix 6.05h");
}

}  // namespace
