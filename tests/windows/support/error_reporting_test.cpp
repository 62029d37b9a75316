#include <gtest/gtest.h>

#include "common/message_box_watcher.hpp"
#include "support/application_window.hpp"
#include "support/error_reporting.hpp"

namespace {

std::wstring raw_system_text(DWORD code) {
    wchar_t buffer[1024] = L"";
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                    buffer, 1024, nullptr);
    return std::wstring(buffer, length);
}

TEST(ErrorText, SystemTextsLoseTrailingLineBreaksOnly) {
    const std::wstring raw = raw_system_text(170);
    ASSERT_FALSE(raw.empty());
    std::wstring trimmed = raw;
    while (!trimmed.empty() && (trimmed.back() == L'\r' || trimmed.back() == L'\n')) trimmed.pop_back();
    EXPECT_EQ(zu::error_text(170), trimmed);
    EXPECT_EQ(zu::system_message(170, 0), trimmed);
    const std::wstring text = zu::error_text(170);
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
}

TEST(ErrorText, CodesWithoutTextReadAsEFail) {
    const std::wstring efail = zu::system_message(0x80004005u, 0);
    ASSERT_FALSE(efail.empty());
    EXPECT_NE(efail, L"Error");
    EXPECT_EQ(zu::error_text(0x20000001u), efail);                 // customer bit alone
    EXPECT_EQ(zu::error_text(0x28000000u | 64999), efail);         // string id with no string
    EXPECT_EQ(zu::system_message(0x1234ABCDu, 0), efail);          // a code the system lacks
    EXPECT_EQ(zu::system_message(0x1234ABCDu, 0x0409), efail);
}

TEST(ErrorText, StringResourceCodesGiveTheirString) {
    EXPECT_EQ(zu::error_text(0x28000000u | 2126), L"You should have Administrator Rights in order to proceed to Installation.");
    EXPECT_EQ(zu::error_text(0x28000000u | 1005), L"Pr\u00E9c\u00E9dent");
}

TEST(MessageBoxes, ShowErrorUsesTheTitleAndTheErrorText) {
    zu::set_application_title(L"Installer \u2013 Mobrix 6.05h");
    zu_test::MessageBoxWatcher watcher(IDOK);
    zu::show_error(170);
    const zu_test::SeenBox box = watcher.Result();
    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.caption, L"Installer \u2013 Mobrix 6.05h");
    EXPECT_EQ(box.text, zu::error_text(170));
}

TEST(MessageBoxes, ButtonPressedIsReturnedAndStringIdsAreLoaded) {
    zu_test::MessageBoxWatcher watcher(IDRETRY);
    const int button = zu::message_box(zu::message_text(2127u), zu::message_text(L"caption"), 0x35);
    const zu_test::SeenBox box = watcher.Result();
    EXPECT_EQ(button, IDRETRY);
    EXPECT_TRUE(box.hasRetry);
    EXPECT_EQ(box.caption, L"caption");
    EXPECT_EQ(box.text, L"You should close '%1' before continuing Installation.");
}

TEST(MessageBoxes, ShowSystemErrorAlwaysAnswersFalse) {
    zu_test::MessageBoxWatcher watcher(IDOK);
    EXPECT_FALSE(zu::show_system_error(nullptr, 161));
    const zu_test::SeenBox box = watcher.Result();
    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.text, zu::system_message(161, 0));
}

TEST(MessageBoxes, OwnerlessBoxesReadLeftToRight) { EXPECT_EQ(zu::reading_order_for(nullptr), 0u); }

}  // namespace
