#include <gtest/gtest.h>

#include "engine/wizard_rules.hpp"
#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"

namespace {

struct English : ::testing::Test {
    void SetUp() override { zu::set_language(zu::kEnglish); }
};

using SkipRule = English;
TEST_F(SkipRule, QuickModeStepsOverFolderPagesInTheDirectionOfTravel) {
    struct Case {
        int target, old;
        bool advanced;
        int shown;
    } cases[] = {
        {0, -1, false, 0},  // first page
        {1, 0, false, 1},   {2, 1, false, 4},  // Next from Mode lands on Install
        {3, 2, false, 4},   {3, 4, false, 1},  // Back from Install lands on Mode
        {2, 3, false, 1},   {5, 4, false, 5},  {4, 5, false, 4},
        {2, 1, true, 2},    {3, 2, true, 3},   {3, 4, true, 3},
        {2, 2, false, 2},   // staying on a page is no move: nothing is skipped
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zu::SkipPages(c.target, c.old, c.advanced), c.shown)
            << "target " << c.target << " from " << c.old << (c.advanced ? " advanced" : " quick");
    }
}

using Buttons = English;
TEST_F(Buttons, LabelsAndEnablingOnEveryPageAndState) {
    struct Case {
        int page;
        bool done;
        int state;
        const wchar_t* next;
        bool nextOn, backOn;
        const wchar_t* cancel;
        int defaultId;
    } cases[] = {
        {0, false, 0, L"Next  >", true, false, L"Cancel", 1},
        {1, false, 0, L"Next  >", true, true, L"Cancel", 1},
        {2, false, 2, L"Next  >", true, true, L"Cancel", 1},
        {3, false, 1, L"Next  >", true, true, L"Cancel", 1},
        {4, false, 0, L"Install", true, true, L"Cancel", 1},
        {4, true, 0, L"Next  >", true, false, L"Exit", 1},
        {5, true, 0, L"Next  >", false, true, L"Exit", 2},
        // A newer version installed: Next never comes on, whatever page is asked about.
        {0, false, -1, L"Next  >", false, false, L"Cancel", 2},
        {1, false, -1, L"Next  >", false, true, L"Cancel", 2},
    };
    for (const Case& c : cases) {
        const zu::WizardButtons b = zu::ButtonsFor(c.page, c.done, c.state);
        SCOPED_TRACE(testing::Message() << "page " << c.page << " done " << c.done << " state " << c.state);
        EXPECT_EQ(b.next, c.next);
        EXPECT_EQ(b.back, L"<  Back");
        EXPECT_EQ(b.cancel, c.cancel);
        EXPECT_EQ(b.nextEnabled, c.nextOn);
        EXPECT_EQ(b.backEnabled, c.backOn);
        EXPECT_EQ(b.defaultId, c.defaultId);
    }
}

TEST_F(Buttons, LabelsFollowTheCurrentLanguage) {
    zu::set_language(2);
    const zu::WizardButtons b = zu::ButtonsFor(4, false, 0);
    EXPECT_EQ(b.next, LoadMessage(zu::MessageId(7)));
    EXPECT_EQ(b.back, L"<  " + LoadMessage(zu::MessageId(5)));
    EXPECT_NE(b.back, L"<  Back");
    zu::set_language(zu::kEnglish);
}

using Leaving = English;
TEST_F(Leaving, QuestionOnlyWhileSomethingCouldStillBeInstalled) {
    struct Case {
        bool done;
        int state, page;
        bool asks;
    } cases[] = {
        {false, 0, 0, true},  {false, 0, 4, true},  {false, 2, 0, true},
        {false, 1, 0, false}, {false, 1, 1, true},  // reinstallation: not on the Start page
        {false, -1, 0, false}, {true, 0, 4, false}, {true, 1, 5, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zu::CancelAsksQuestion(c.done, c.state, c.page), c.asks)
            << "done " << c.done << " state " << c.state << " page " << c.page;
    }
    EXPECT_EQ(LoadMessage(zu::MessageId(110)),
              L"Installation is not complete.\r\n\r\nDo you still confirm exit Installation ?");
}

using Texts = English;
TEST_F(Texts, StatusLinesOfEveryPage) {
    struct Case {
        int page, state;
        bool done;
        const wchar_t* text;
    } cases[] = {
        {0, 0, false, L"Click on 'Next' to continue."},
        {0, 2, false, L"Click on 'Next' to continue."},
        {0, 1, false, L"Click on 'Next' to continue or on 'Cancel' to exit Installation."},
        {0, -1, false, L"Click on 'Cancel' to exit Installation."},
        {1, 0, false, L"Click on 'Next' to continue."},
        {2, 1, false, L"Click on 'Next' to continue."},
        {3, 2, false, L"Click on 'Next' to continue."},
        {4, 0, false, L"Click on 'Install' to start Installation."},
        {4, 0, true, L"Click on 'Next' to continue."},
        {5, 0, true, L"Click on 'Exit' to exit Installation."},
    };
    for (const Case& c : cases) EXPECT_EQ(zu::StatusLine(c.page, c.state, c.done), c.text) << c.page << "/" << c.state;
}

TEST_F(Texts, StartInformationByInstallState) {
    EXPECT_EQ(zu::StartInformation(0, L""), L"'Mobrix 6.05h' Installation.");
    EXPECT_EQ(zu::StartInformation(1, L""), L"'Mobrix 6.05h' is already installed.\r\nDo you confirm Reinstallation ?");
    EXPECT_EQ(zu::StartInformation(2, L"Mobrix 6.05g"), L"Update from 'Mobrix 6.05g' to 'Mobrix 6.05h'.");
    EXPECT_EQ(zu::StartInformation(-1, L"Mobrix 6.10"),
              L"'Mobrix 6.05h' Installation.\r\nA more recent Version (Mobrix 6.10) is already installed.");
}

TEST_F(Texts, TitleAndAboutItemByReadingOrder) {
    EXPECT_EQ(zu::WizardTitle(), L"Installer \u2013 Mobrix 6.05h");
    EXPECT_EQ(zu::AboutMenuText(false), L"&About 'Installer'...");
    EXPECT_EQ(zu::AboutMenuText(true), L"...About 'Installer'");
}

// A log font in which every character is 4 pixels wide and "-" 3.
int fixed_width(const std::wstring& s) {
    int w = 0;
    for (wchar_t c : s) w += c == L'-' ? 3 : 4;
    return w;
}

TEST(SeparatorLine, CentresTheTextInDashesMeasuredInPixels) {
    // " Options " is 36 pixels: (100 - 36) / 3 = 21 dashes, 10 before and 11 after.
    EXPECT_EQ(zu::SeparatorLine(L"Options", 100, fixed_width),
              std::wstring(10, L'-') + L" Options " + std::wstring(11, L'-') + L"\r\n");
    EXPECT_EQ(zu::SeparatorLine(L"", 100, fixed_width), std::wstring(33, L'-') + L"\r\n");
    // Wider than the log: no dashes at all, never a negative count.
    EXPECT_EQ(zu::SeparatorLine(L"A much longer heading text", 40, fixed_width), L" A much longer heading text \r\n");
    EXPECT_EQ(zu::SeparatorLine(L"", -5, fixed_width), L"\r\n");
}

}  // namespace
