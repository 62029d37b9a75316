#include <gtest/gtest.h>

#include <cstdint>

#include "common/registry_sandbox.hpp"
#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"
#include "i18n/resource_strings.hpp"
#include "i18n/stored_language.hpp"

namespace {

// Wine's user is English unless LANG says otherwise.
TEST(StartupLanguage, StoredValuesOnAnEnglishSystem) {
    ASSERT_EQ(::GetUserDefaultLangID() & 0x3FF, 0x09) << "the test prefix is expected to be English";
    struct Case {
        long long stored;  // -100: none stored
        int expected;
    };
    const Case cases[] = {{2, 2}, {5, 1}, {6, 1}, {14, 1}, {99, 1}, {0, 0}, {17, 1}, {-100, 1}};
    for (const Case& c : cases) {
        zu_test::UninstallKeySandbox key;
        if (c.stored != -100) key.SetDword(L"ZuLanguage", static_cast<DWORD>(c.stored));
        ChooseStartupLanguage();
        EXPECT_EQ(zu::get_language(), c.expected) << "stored " << c.stored;
    }
}

TEST(StartupLanguage, ValuesOfTheWrongTypeOrSizeAreIgnored) {
    const DWORD german = 2;
    const std::uint64_t wide = 2;
    const wchar_t text[] = L"2";
    struct Case {
        const char* what;
        DWORD type;
        const void* data;
        DWORD size;
    };
    const Case cases[] = {
        {"text", REG_SZ, text, sizeof text},
        {"short text", REG_SZ, text, 4},
        {"eight bytes", REG_QWORD, &wide, sizeof wide},
        {"binary of four bytes", REG_BINARY, &german, sizeof german},
        {"two bytes", REG_DWORD, &german, 2},
    };
    for (const Case& c : cases) {
        zu_test::UninstallKeySandbox key;
        key.Set(L"ZuLanguage", c.type, c.data, c.size);
        EXPECT_FALSE(zu::read_stored_language().has_value()) << c.what;
        ChooseStartupLanguage();
        EXPECT_EQ(zu::get_language(), zu::kEnglish) << c.what;
    }
}

TEST(ResourceStrings, TextsSurviveTheResourceCompiler) {
    EXPECT_EQ(zu::load_resource_string(1005), L"Pr\u00E9c\u00E9dent");
    EXPECT_EQ(zu::load_resource_string(2115), L"Copying File  %1...");
    EXPECT_EQ(zu::load_resource_string(1112), L"Cr\u00E9er un raccourci dans le menu suivant\u00A0:");
    EXPECT_EQ(zu::load_resource_string(2110), L"Installation is not complete.\r\n\r\nDo you still confirm exit Installation ?");
    EXPECT_EQ(zu::load_resource_string(2129),
              L"'%1' will be installed in the selected Langage, but the Installer, still under translation,  shall run "
              L"in English.");
    EXPECT_EQ(zu::load_resource_string(1999), L"");   // inside a block, not present
    EXPECT_EQ(zu::load_resource_string(60000), L"");  // no block at all
}

TEST(MessageLookup, CurrentLanguageDecidesTheBlock) {
    zu::set_language(zu::kEnglish);
    EXPECT_EQ(LoadMessage(1131), L"Mise \u00E0 jour de DirectX...");
    EXPECT_EQ(InstallerTitle(true), L"Installer \u2013 Mobrix 6.05h");
    zu::set_language(5);  // Dutch: untranslated, read as English
    EXPECT_EQ(LocalisedMessageId(1002), 2002u);
    EXPECT_EQ(LoadMessage(1002), L"Cancel");
    zu::set_language(zu::kVietnamese);
    EXPECT_EQ(LocalisedMessageId(1100), 1100u);
    zu::set_language(zu::kEnglish);
}

TEST(LanguageState, SystemAnswersForNamesAndReadingOrder) {
    EXPECT_EQ(zu::language_native_name(2), L"Deutsch");
    EXPECT_EQ(zu::language_native_name(0).substr(0, 1), L"F");
    EXPECT_TRUE(zu::is_rtl_language(16));
    EXPECT_FALSE(zu::is_rtl_language(0));
    EXPECT_FALSE(zu::is_rtl_language(1));
}

}  // namespace
