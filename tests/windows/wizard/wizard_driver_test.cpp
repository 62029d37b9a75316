#include <gtest/gtest.h>

#include <algorithm>

#include "about_contact.h"
#include "app/running_product_counter.hpp"
#include "common/registry_sandbox.hpp"
#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"
#include "support/error_reporting.hpp"
#include "wizard_driver.hpp"

namespace {

using zu_test::BoxSeen;
using zu_test::WizardDriver;

constexpr int kNext = IDOK, kBack = 3, kCancel = IDCANCEL;
constexpr int kGerman = 2;
const std::wstring kTitle = L"Installer \u2013 Mobrix 6.05h";

std::wstring installer() { return zu_test::wine_path(ZU_INSTALLER_EXE); }
std::wstring host() { return zu_test::wine_path(ZU_WIZARD_HOST_EXE); }

// A message of language (its own block, with the lookup's fallbacks).
std::wstring message_in(int language, unsigned offset, std::vector<std::wstring> arguments = {}) {
    zu::set_language(language);
    std::wstring text = FormatMessageText(zu::MessageId(offset), arguments);
    zu::set_language(zu::kEnglish);
    return text;
}

std::wstring utf8(const char* text) {
    wchar_t wide[512] = L"";
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 512);
    return wide;
}

// The wizard's machine state is the product's uninstall key (its stored language): none.
class Wizard : public ::testing::Test {
protected:
    zu_test::UninstallKeySandbox key_;

    void SetUp() override {
        // This program links the application and so counts as a running product; the
        // installer under test would wait for it.
        zu::running_product_counter().unregister();
        zu::set_language(zu::kEnglish);
    }

    static void LeaveWithQuestion(WizardDriver& w) {
        w.ClickButton(kCancel);
        BoxSeen box = w.WaitForBox();
        ASSERT_TRUE(box.window) << "message 110 expected";
        EXPECT_EQ(box.text, LoadMessage(zu::MessageId(110)));
        w.Answer(box, IDYES);
        EXPECT_EQ(w.WaitForExit(), 0u);
    }
    static void ExpectButtons(const WizardDriver& w, const wchar_t* next, bool nextOn, bool backOn, const wchar_t* cancel) {
        EXPECT_EQ(w.ButtonText(kNext), next);
        EXPECT_EQ(w.Enabled(w.Button(kNext)), nextOn);
        EXPECT_EQ(w.ButtonText(kBack), L"<  Back");
        EXPECT_EQ(w.Enabled(w.Button(kBack)), backOn);
        EXPECT_EQ(w.ButtonText(kCancel), cancel);
    }
};

TEST_F(Wizard, QuickPathOfTheInstallerWithBackFromInstallToMode) {
    WizardDriver w(installer());
    ASSERT_TRUE(w.Frame());
    EXPECT_EQ(w.Title(), kTitle);
    ASSERT_EQ(w.PageIndex(), 0);
    EXPECT_EQ(w.PageText(1022), L"Select Installation Langage");
    EXPECT_EQ(w.PageText(1016), L"'Mobrix 6.05h' Installation.");
    EXPECT_EQ(w.PageText(1003), L"Click on 'Next' to continue.");
    EXPECT_EQ(w.LanguagePosition(), 1);  // English, second in the list
    ExpectButtons(w, L"Next  >", true, false, L"Cancel");
    w.Screenshot("page0-start");

    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 1);
    EXPECT_EQ(w.PageText(1021), L"Installation Method");
    EXPECT_EQ(w.PageText(1018), L"Quick Installation (Recommended)");
    EXPECT_EQ(w.PageText(1019), L"Advanced Installation");
    EXPECT_TRUE(w.Checked(w.PageItem(1018)));
    EXPECT_FALSE(w.Checked(w.PageItem(1019)));
    ExpectButtons(w, L"Next  >", true, true, L"Cancel");
    w.Screenshot("page1-mode");

    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 4) << "quick mode skips the folder pages";
    const std::wstring log = w.PageText(1015);
    EXPECT_EQ(log.rfind(L"'Mobrix 6.05h' Installation.\r\n-", 0), 0u) << std::string(log.begin(), log.end());
    EXPECT_NE(log.find(L"- Installation Options -"), std::wstring::npos);
    EXPECT_NE(log.find(L"\r\nInstallation Folder: \"C:\\Program Files\\Quillon\\Mobrix 6\".\r\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"Creating a Shortcut in the Start Menu (Folder "
                       L"\"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quillon\\Mobrix 6\").\r\n"),
              std::wstring::npos);
    EXPECT_NE(log.find(L"Creating a Shortcut on the Desktop.\r\n"), std::wstring::npos);
    EXPECT_EQ(w.PageText(1003), L"Click on 'Install' to start Installation.");
    EXPECT_FALSE(::IsWindowVisible(w.PageItem(1014))) << "no progress bar before the installation";
    ExpectButtons(w, L"Install", true, true, L"Cancel");
    w.Screenshot("page4-install");

    w.ClickButton(kBack);
    EXPECT_EQ(w.PageIndex(), 1);
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 4);

    // Leaving before the installation asks first; No keeps the page.
    w.ClickButton(kCancel);
    BoxSeen box = w.WaitForBox();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.caption, kTitle);
    EXPECT_EQ(box.text, L"Installation is not complete.\r\n\r\nDo you still confirm exit Installation ?");
    EXPECT_TRUE(box.yes && box.no);
    w.Screenshot("message110");
    w.Answer(box, IDNO);
    EXPECT_EQ(w.WaitForExit(300), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(w.PageIndex(), 4);

    // The real installation: the buttons come back as Next and Exit once it is done.
    w.ClickButton(kNext);
    for (int i = 0; i < 1200 && w.ButtonText(kCancel) != L"Exit"; ++i) ::Sleep(100);
    ASSERT_EQ(w.ButtonText(kCancel), L"Exit");
    EXPECT_EQ(w.ButtonText(kNext), L"Next  >");
    EXPECT_EQ(w.PageText(1003), L"Click on 'Next' to continue.") << "the sequence reported success";
    EXPECT_NE(w.PageText(1015).find(L"\r\nPreparing Installation...OK\r\n"), std::wstring::npos);
    w.ClickButton(kNext);
    EXPECT_EQ(w.PageIndex(), 5);
    EXPECT_EQ(w.PageText(1003), L"Click on 'Exit' to exit Installation.");
    w.ClickButton(kCancel);
    EXPECT_EQ(w.WaitForExit(), 0u) << "Exit after a finished installation asks nothing";
}

TEST_F(Wizard, AdvancedPathShowsFolderPagesAndKeepsChoices) {
    WizardDriver w(installer());
    ASSERT_TRUE(w.Frame());
    w.ClickButton(kNext);
    w.Click(w.PageItem(1019));
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 2) << "the new choice counts at once";
    EXPECT_EQ(w.PageText(1008), L"Installation Folder Selection");
    EXPECT_EQ(w.PageText(1009), L"Select 'Mobrix' Installation Folder.");
    EXPECT_EQ(w.PageText(1007), L"C:\\Program Files\\Quillon\\Mobrix 6");
    EXPECT_EQ(w.PageText(1006), L"Browse...");
    EXPECT_EQ(w.PageText(1003), L"Click on 'Next' to continue.");
    ExpectButtons(w, L"Next  >", true, true, L"Cancel");
    w.Screenshot("page2-path");

    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 3);
    EXPECT_EQ(w.PageText(1012), L"Start menu");
    EXPECT_EQ(w.PageText(1011), L"Create a Shortcut in the following Menu:");
    EXPECT_EQ(w.PageText(1010), L"Create a Shortcut on the Desktop.");
    EXPECT_EQ(w.PageText(1007), L"Programs\\Quillon\\Mobrix 6");
    EXPECT_TRUE(w.Checked(w.PageItem(1011)));
    EXPECT_TRUE(w.Checked(w.PageItem(1010)));
    EXPECT_TRUE(w.Enabled(w.PageItem(1007)) && w.Enabled(w.PageItem(1006)));
    w.Screenshot("page3-shortcut");

    w.Click(w.PageItem(1011));
    EXPECT_FALSE(w.Enabled(w.PageItem(1007)));
    EXPECT_FALSE(w.Enabled(w.PageItem(1006)));
    EXPECT_EQ(w.PageText(1007), L"Programs\\Quillon\\Mobrix 6") << "the folder text is kept";

    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 4);
    const std::wstring log = w.PageText(1015);
    EXPECT_EQ(log.find(L"in the Start Menu"), std::wstring::npos) << "no menu shortcut any more";
    EXPECT_NE(log.find(L"Creating a Shortcut on the Desktop."), std::wstring::npos);

    w.ClickButton(kBack);
    ASSERT_EQ(w.PageIndex(), 3);
    EXPECT_FALSE(w.Checked(w.PageItem(1011)));
    w.ClickButton(kBack);
    EXPECT_EQ(w.PageIndex(), 2);
    w.ClickButton(kBack);
    ASSERT_EQ(w.PageIndex(), 1);
    EXPECT_TRUE(w.Checked(w.PageItem(1019)));
    LeaveWithQuestion(w);
}

TEST_F(Wizard, TooLongFolderKeepsThePageWithTheLengthMessage) {
    WizardDriver w(installer());
    ASSERT_TRUE(w.Frame());
    w.ClickButton(kNext);
    w.Click(w.PageItem(1019));
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 2);
    w.SetEditText(w.PageItem(1007), L"C:\\" + std::wstring(258, L'a'));  // 261 characters
    w.ClickButton(kNext);
    BoxSeen box = w.WaitForBox();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.text, L"Enter no more than 260 characters.");
    EXPECT_EQ(box.caption, kTitle);
    EXPECT_TRUE(box.ok && !box.yes);
    w.Answer(box, IDOK);
    EXPECT_EQ(w.PageIndex(), 2);
    w.SetEditText(w.PageItem(1007), L"C:\\" + std::wstring(257, L'a'));  // exactly 260
    w.ClickButton(kNext);
    EXPECT_EQ(w.PageIndex(), 3);
    LeaveWithQuestion(w);
}

TEST_F(Wizard, GermanRelabelsTitleButtonsAboutItemAndEveryPage) {
    WizardDriver w(installer());
    ASSERT_TRUE(w.Frame());
    w.ChooseLanguage(2);
    EXPECT_EQ(w.WaitForDialog(nullptr, 500), nullptr) << "German is translated: no message";
    EXPECT_EQ(w.LanguagePosition(), 2);
    const std::wstring next = message_in(kGerman, 6);
    EXPECT_NE(next, L"Next");
    EXPECT_EQ(w.Title(), message_in(kGerman, 0) + L" \u2013 Mobrix 6.05h");
    EXPECT_EQ(w.ButtonText(kNext), next + L"  >");
    EXPECT_EQ(w.ButtonText(kBack), L"<  " + message_in(kGerman, 5));
    EXPECT_EQ(w.ButtonText(kCancel), message_in(kGerman, 2));
    EXPECT_EQ(w.PageText(1022), message_in(kGerman, 14));
    EXPECT_EQ(w.PageText(1016), message_in(kGerman, 100, {L"Mobrix 6.05h"}));
    EXPECT_EQ(w.PageText(1003), message_in(kGerman, 106, {next}));
    w.Screenshot("page0-start-german");

    // The About item, read from the system menu and opened from it.
    HMENU menu = ::GetSystemMenu(w.Frame(), FALSE);
    wchar_t item[256] = L"";
    if (menu && ::GetMenuStringW(menu, 16, item, 256, MF_BYCOMMAND) > 0) {
        EXPECT_EQ(std::wstring(item), L"&" + message_in(kGerman, 3, {message_in(kGerman, 0)}) + L"...");
    } else {
        std::printf("note: the system menu of another process cannot be read here\n");
    }
    ::PostMessageW(w.Frame(), WM_SYSCOMMAND, 16, 0);
    HWND about = w.WaitForDialog();
    ASSERT_TRUE(about);
    w.Settle();
    EXPECT_EQ(zu_test::window_text(about), message_in(kGerman, 3, {message_in(kGerman, 0)}));
    EXPECT_EQ(zu_test::window_text(::GetDlgItem(about, IDOK)), message_in(kGerman, 1));
    EXPECT_EQ(zu_test::window_text(::GetDlgItem(about, 1019)), L"Install 2.02");
    EXPECT_EQ(zu_test::window_text(::GetDlgItem(about, 1020)), utf8(INSTALLER_COPYRIGHT));
    // The contact lines keep the template's texts, whatever the language.
    std::vector<std::wstring> statics;
    for (HWND child = ::GetWindow(about, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        statics.push_back(zu_test::window_text(child));
    }
    for (const char* line : {ABOUT_POSTAL_ADDRESS, ABOUT_TELEPHONE, ABOUT_FAX, ABOUT_EMAIL, ABOUT_WEB}) {
        EXPECT_NE(std::find(statics.begin(), statics.end(), utf8(line)), statics.end()) << line;
    }
    w.Screenshot("about-german");
    w.Click(::GetDlgItem(about, IDOK));
    EXPECT_EQ(w.WaitForDialog(nullptr, 300), nullptr);

    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 1);
    EXPECT_EQ(w.PageText(1021), message_in(kGerman, 15));
    EXPECT_EQ(w.PageText(1018), message_in(kGerman, 16));
    EXPECT_EQ(w.PageText(1019), message_in(kGerman, 17));
    EXPECT_EQ(w.PageText(1003), message_in(kGerman, 106, {next}));
    w.Click(w.PageItem(1019));
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 2);
    EXPECT_EQ(w.PageText(1008), message_in(kGerman, 10));
    EXPECT_EQ(w.PageText(1009), message_in(kGerman, 111, {L"Mobrix"}));
    EXPECT_EQ(w.PageText(1006), message_in(kGerman, 8));
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 3);
    EXPECT_EQ(w.PageText(1012), message_in(kGerman, 9));
    EXPECT_EQ(w.PageText(1011), message_in(kGerman, 112));
    EXPECT_EQ(w.PageText(1010), message_in(kGerman, 113));
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 4);
    EXPECT_EQ(w.ButtonText(kNext), message_in(kGerman, 7));
    EXPECT_EQ(w.PageText(1003), message_in(kGerman, 108, {message_in(kGerman, 7)}));
    EXPECT_NE(w.PageText(1015).find(message_in(kGerman, 122)), std::wstring::npos);

    w.ClickButton(kCancel);
    BoxSeen box = w.WaitForBox();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.text, message_in(kGerman, 110));
    EXPECT_EQ(box.caption, message_in(kGerman, 0) + L" \u2013 Mobrix 6.05h");
    w.Answer(box, IDYES);
    EXPECT_EQ(w.WaitForExit(), 0u);
}

TEST_F(Wizard, DutchIsAnnouncedInEnglishAndStaysPickedInTheList) {
    WizardDriver w(installer());
    ASSERT_TRUE(w.Frame());
    w.ChooseLanguage(6);
    BoxSeen box = w.WaitForBox();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(box.text, L"'Mobrix' will be installed in the selected Langage, but the Installer, still under "
                        L"translation,  shall run in English.");
    EXPECT_EQ(box.caption, kTitle);
    EXPECT_TRUE(box.ok);
    w.Screenshot("message129");
    w.Answer(box, IDOK);
    EXPECT_EQ(w.LanguagePosition(), 6);
    EXPECT_EQ(w.Title(), kTitle);
    EXPECT_EQ(w.ButtonText(kNext), L"Next  >");
    EXPECT_EQ(w.PageText(1003), L"Click on 'Next' to continue.");
    LeaveWithQuestion(w);
}

TEST_F(Wizard, NewerVersionInstalledLeavesOnlyCancelWithoutQuestion) {
    WizardDriver w(host(), L"-1 \"Mobrix 6.05i\"");
    ASSERT_TRUE(w.Frame());
    EXPECT_EQ(w.PageText(1016),
              L"'Mobrix 6.05h' Installation.\r\nA more recent Version (Mobrix 6.05i) is already installed.");
    EXPECT_EQ(w.PageText(1003), L"Click on 'Cancel' to exit Installation.");
    ExpectButtons(w, L"Next  >", false, false, L"Cancel");
    w.ChooseLanguage(2);
    EXPECT_EQ(w.ButtonText(kNext), message_in(kGerman, 6) + L"  >");
    EXPECT_FALSE(w.Enabled(w.Button(kNext))) << "a language change does not enable Next";
    EXPECT_EQ(w.PageText(1003), message_in(kGerman, 107, {message_in(kGerman, 2)}));
    w.ClickButton(kCancel);
    EXPECT_EQ(w.WaitForExit(), 0u);
}

TEST_F(Wizard, ReinstallationLeavesTheStartPageWithoutQuestionButNotTheModePage) {
    {
        WizardDriver w(host(), L"1");
        ASSERT_TRUE(w.Frame());
        EXPECT_EQ(w.PageText(1016), L"'Mobrix 6.05h' is already installed.\r\nDo you confirm Reinstallation ?");
        EXPECT_EQ(w.PageText(1003), L"Click on 'Next' to continue or on 'Cancel' to exit Installation.");
        w.ClickButton(kCancel);
        EXPECT_EQ(w.WaitForExit(), 0u);
    }
    WizardDriver w(host(), L"1");
    ASSERT_TRUE(w.Frame());
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 1);
    LeaveWithQuestion(w);
}

TEST_F(Wizard, SuccessfulInstallationLeadsToTheEndPageAndExitsWithoutQuestion) {
    WizardDriver w(host(), L"0 \"\" succeed");
    ASSERT_TRUE(w.Frame());
    w.ClickButton(kNext);
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 4);
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 4);
    ExpectButtons(w, L"Next  >", true, false, L"Exit");
    EXPECT_EQ(w.PageText(1003), L"Click on 'Next' to continue.");
    EXPECT_NE(w.PageText(1015).find(L"\r\nPreparing Installation...OK\r\n"), std::wstring::npos);
    EXPECT_TRUE(::IsWindowVisible(w.PageItem(1014)));
    w.Screenshot("page4-install-done");

    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 5);
    EXPECT_EQ(w.PageText(1016), L"Installation is complete.");
    EXPECT_EQ(w.PageText(1003), L"Click on 'Exit' to exit Installation.");
    ExpectButtons(w, L"Next  >", false, true, L"Exit");
    w.Screenshot("page5-end");

    w.ClickButton(kBack);
    ASSERT_EQ(w.PageIndex(), 4);
    EXPECT_NE(w.PageText(1015).find(L"Preparing Installation...OK"), std::wstring::npos) << "the log is kept";
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 5);
    w.ClickButton(kCancel);
    EXPECT_EQ(w.WaitForDialog(nullptr, 300), nullptr);
    EXPECT_EQ(w.WaitForExit(), 0u);
}

TEST_F(Wizard, FailedInstallationCanBeStartedAgainOnTheSameLog) {
    WizardDriver w(host(), L"0 \"\" fail");
    ASSERT_TRUE(w.Frame());
    w.ClickButton(kNext);
    w.ClickButton(kNext);
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 4);
    ExpectButtons(w, L"Install", true, true, L"Cancel");
    EXPECT_EQ(w.PageText(1003), L"Installation failed (Error Code 7).");
    w.ClickButton(kNext);
    const std::wstring log = w.PageText(1015);
    const std::size_t first = log.find(L"Preparing Installation...");
    ASSERT_NE(first, std::wstring::npos);
    EXPECT_NE(log.find(L"Preparing Installation...", first + 1), std::wstring::npos);
    LeaveWithQuestion(w);
}

BOOL CALLBACK find_edit(HWND window, LPARAM found) {
    if (zu_test::class_name(window) != L"Edit") return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

TEST_F(Wizard, FolderBrowserAcceptsADriveAndRefusesAWildcard) {
    WizardDriver w(installer());
    ASSERT_TRUE(w.Frame());
    w.ClickButton(kNext);
    w.Click(w.PageItem(1019));
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 2);
    w.Click(w.PageItem(1006));
    HWND browser = w.WaitForDialog();
    ASSERT_TRUE(browser) << "the folder browser did not open";
    w.Settle();
    HWND edit = nullptr;
    ::EnumChildWindows(browser, find_edit, reinterpret_cast<LPARAM>(&edit));
    ASSERT_TRUE(edit) << "the browser has no edit box";
    // The proposal under the nearest existing folder of C:\Program Files\Quillon\Mobrix 6.
    EXPECT_EQ(zu_test::window_text(edit), L"C:\\Program Files\\Mobrix 6");
    w.Screenshot("browser");

    w.SetEditText(edit, L"*");
    w.Click(::GetDlgItem(browser, IDOK));
    HWND error = w.WaitForDialog(browser);
    ASSERT_TRUE(error) << "error 161 expected";
    w.Settle();
    EXPECT_EQ(zu_test::window_text(::GetDlgItem(error, 0xFFFF)), zu::system_message(161, 0));
    EXPECT_NE(zu_test::window_text(error), kTitle) << "the system's caption, not the installer's";
    w.Screenshot("browser-error161");
    w.Click(::GetDlgItem(error, IDOK));
    EXPECT_TRUE(::IsWindowVisible(browser)) << "the browser stays open";

    w.SetEditText(edit, L"C:");
    w.Click(::GetDlgItem(browser, IDOK));
    w.Settle();
    EXPECT_FALSE(::IsWindow(browser) && ::IsWindowVisible(browser));
    EXPECT_EQ(w.PageText(1007), L"C:\\");
    LeaveWithQuestion(w);
}

}  // namespace

namespace {

HWND browser_edit(HWND browser) {
    HWND edit = nullptr;
    ::EnumChildWindows(browser, find_edit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

TEST_F(Wizard, EmptiedFolderStartsTheBrowserInDocuments) {
    WizardDriver w(installer());
    ASSERT_TRUE(w.Frame());
    w.ClickButton(kNext);
    w.Click(w.PageItem(1019));
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 2);
    w.SetEditText(w.PageItem(1007), L"");
    w.Click(w.PageItem(1006));
    HWND browser = w.WaitForDialog();
    ASSERT_TRUE(browser);
    w.Settle();
    wchar_t documents[MAX_PATH] = L"";
    ::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    EXPECT_EQ(zu_test::window_text(browser_edit(browser)), std::wstring(documents) + L"\\Mobrix 6");
    w.Click(::GetDlgItem(browser, IDCANCEL));
    EXPECT_EQ(w.PageText(1007), L"") << "a cancelled browser changes nothing";
    LeaveWithQuestion(w);
}

TEST_F(Wizard, ShortcutBrowserResolvesTypedTextsBelowTheStartMenu) {
    WizardDriver w(installer());
    ASSERT_TRUE(w.Frame());
    w.ClickButton(kNext);
    w.Click(w.PageItem(1019));
    w.ClickButton(kNext);
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 3);
    w.Click(w.PageItem(1006));
    HWND browser = w.WaitForDialog();
    ASSERT_TRUE(browser);
    w.Settle();
    HWND edit = browser_edit(browser);
    ASSERT_TRUE(edit);
    w.Screenshot("browser-shortcut");
    // Quillon does not exist yet, so the nearest folder is Programs; Wine's rooted browser then
    // moves the selection to the root's first child. Either way the proposal is relative to the
    // Start menu and ends with the product's sub-folder.
    const std::wstring proposal = zu_test::window_text(edit);
    EXPECT_EQ(proposal.rfind(L"Programs", 0), 0u) << std::string(proposal.begin(), proposal.end());
    EXPECT_EQ(proposal.size() - proposal.rfind(L"\\Mobrix 6"), 9u);

    w.SetEditText(edit, L"..\\Outside");
    w.Click(::GetDlgItem(browser, IDOK));
    HWND error = w.WaitForDialog(browser);
    ASSERT_TRUE(error) << "a text leading outside the Start menu is refused";
    w.Settle();
    EXPECT_EQ(zu_test::window_text(::GetDlgItem(error, 0xFFFF)), zu::system_message(161, 0));
    w.Click(::GetDlgItem(error, IDOK));
    ASSERT_TRUE(::IsWindowVisible(browser));

    w.SetEditText(edit, L"Programs\\Quillon\\Games");
    w.Click(::GetDlgItem(browser, IDOK));
    EXPECT_EQ(w.PageText(1007), L"Programs\\Quillon\\Games");
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 4);
    EXPECT_NE(w.PageText(1015).find(L"Start Menu\\Programs\\Quillon\\Games\")"), std::wstring::npos);
    LeaveWithQuestion(w);
}

TEST_F(Wizard, InstalledProductKeepsItsFolder) {
    WizardDriver w(host(), L"2 \"Mobrix 6.05g\"");
    ASSERT_TRUE(w.Frame());
    EXPECT_EQ(w.PageText(1016), L"Update from 'Mobrix 6.05g' to 'Mobrix 6.05h'.");
    EXPECT_EQ(w.PageText(1003), L"Click on 'Next' to continue.");
    w.ClickButton(kNext);
    w.Click(w.PageItem(1019));
    w.ClickButton(kNext);
    ASSERT_EQ(w.PageIndex(), 2);
    EXPECT_FALSE(w.Enabled(w.PageItem(1006)));
    EXPECT_FALSE(w.Enabled(w.PageItem(1009)));
    EXPECT_TRUE(::GetWindowLongW(w.PageItem(1007), GWL_STYLE) & ES_READONLY);
    LeaveWithQuestion(w);
}

}  // namespace
