#include <gtest/gtest.h>

#include <map>
#include <set>

#include "i18n/language_state.hpp"
#include "i18n/language_table.hpp"
#include "i18n/messages.hpp"
#include "i18n/resource_strings.hpp"

namespace {

TEST(LanguageTable, ColumnsAgreeWithEachOther) {
    const std::set<int> offered{0, 1, 2, 3, 4, 5, 7, 9, 10, 11, 14, 16};
    const std::set<int> translated{0, 1, 2, 3, 4, 7, 9, 11, 17};
    std::set<unsigned> blocks;
    for (int n = 0; n < zu::kLanguageCount; ++n) {
        const auto& row = zu::language_table()[static_cast<size_t>(n)];
        EXPECT_EQ(row.number, n);
        EXPECT_EQ(zu::IsLanguageOffered(n), offered.count(n) == 1) << n;
        EXPECT_EQ(zu::IsInstallerTranslated(n), translated.count(n) == 1) << n;
        EXPECT_EQ((row.langid & 0x3FF), row.detectedFromPrimary) << n;
        if (row.messageBlock) EXPECT_TRUE(blocks.insert(row.messageBlock).second) << n;
        // The detection set is the offered languages plus Vietnamese.
        EXPECT_EQ((zu::kInstallerDetectionSet >> n) & 1u, (offered.count(n) || n == 17) ? 1u : 0u) << n;
    }
    EXPECT_EQ(blocks.size(), 17u);
    const std::array<int, 12> listOrder{0, 1, 2, 3, 11, 4, 5, 14, 7, 9, 10, 16};
    EXPECT_EQ(zu::offered_languages_in_list_order(), listOrder);
}

TEST(LanguageTable, OutsideNumbersAreNeverOffered) {
    for (long long n : {-1LL, 17LL, 18LL, 99LL, 0x100000000LL, -2147483648LL}) EXPECT_FALSE(zu::IsLanguageOffered(n)) << n;
}

TEST(LanguageDetection, MapsUserLanguagesThroughTheInstallerSet) {
    struct Case {
        std::uint16_t langid;
        int expected;
        const char* who;
    };
    const Case cases[] = {
        {0x0409, 1, "English (US)"},        {0x0809, 1, "English (UK)"},
        {0x040C, 0, "French"},              {0x0407, 2, "German"},
        {0x080A, 3, "Spanish (Mexico)"},    {0x0C0A, 3, "Spanish"},
        {0x0406, 1, "Danish"},              {0x0402, 1, "Bulgarian"},
        {0x0405, 1, "Czech"},               {0x0414, 1, "Norwegian"},
        {0x0415, 1, "Polish"},              {0x0804, 10, "Chinese (PRC)"},
        {0x1004, 10, "Chinese (Singapore)"}, {0x0404, 1, "Chinese (Taiwan)"},
        {0x0C04, 1, "Chinese (Hong Kong)"}, {0x042A, 17, "Vietnamese"},
        {0x0411, 1, "Japanese"},            {0x040D, 16, "Hebrew"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zu::language_for_langid(c.langid, zu::kInstallerDetectionSet, 1), c.expected) << c.who;
    }
}

TEST(LanguageDetection, EmptySetMeansDefaultSetAndFrenchWithoutEnglish) {
    EXPECT_EQ(zu::language_for_langid(0x0409, 0, 1), 0);
    EXPECT_EQ(zu::language_for_langid(0x0407, 0, 1), 0);
    EXPECT_EQ(zu::language_for_langid(0x0407, 1u << 2, 1), 2);
    EXPECT_EQ(zu::language_for_langid(0x0406, 1u << 2, 1), 0);
    // On a fresh state the default set holds French only.
    EXPECT_EQ(zu::detect_language(0), 0);
}

TEST(StartupLanguage, StoredOfferedLanguageWinsAndUntranslatedBecomesEnglish) {
    struct Case {
        int detected;
        std::optional<long long> stored;
        int expected;
    };
    const Case cases[] = {
        {1, std::nullopt, 1}, {1, 2LL, 2},  {1, 5LL, 1},  {1, 6LL, 1},   {1, 14LL, 1}, {2, 99LL, 2},
        {1, 17LL, 1},         {17, std::nullopt, 17},      {10, std::nullopt, 1}, {1, -1LL, 1}, {3, 0LL, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(choose_startup_language(c.detected, c.stored), c.expected)
            << "detected " << c.detected << " stored " << (c.stored ? *c.stored : -100);
    }
}

// A string source in which chosen ids hold "#".
zu::string_loader loader_with_hashes(std::set<unsigned> hashed) {
    return [hashed](unsigned id) { return hashed.count(id) ? std::wstring(L"#") : std::wstring(L"text"); };
}

TEST(MessageLookup, FallsBackToEnglishThenFrench) {
    const auto hashes131 = loader_with_hashes({2131, 3131, 4131});
    EXPECT_EQ(zu::localised_message_id(1131, 0, hashes131), 1131u);  // French block never examined
    EXPECT_EQ(zu::localised_message_id(1131, 1, hashes131), 1131u);  // English "#" gives French
    EXPECT_EQ(zu::localised_message_id(1131, 2, hashes131), 1131u);
    EXPECT_EQ(zu::localised_message_id(1002, 5, hashes131), 2002u);  // Dutch block never read
    EXPECT_EQ(zu::localised_message_id(1129, 11, hashes131), 6129u);
    EXPECT_EQ(zu::localised_message_id(1129, 9, hashes131), 12129u);
    EXPECT_EQ(zu::localised_message_id(1100, 17, hashes131), 1100u);
    // A German "#" with an English text falls back to English.
    EXPECT_EQ(zu::localised_message_id(1106, 2, loader_with_hashes({3106})), 2106u);
}

TEST(MessageLookup, FrenchIsNeverRead) {
    int reads = 0;
    zu::string_loader counting = [&reads](unsigned) {
        ++reads;
        return std::wstring(L"#");
    };
    EXPECT_EQ(zu::localised_message_id(1127, 0, counting), 1127u);
    EXPECT_EQ(reads, 0);
}

TEST(MessageLookup, EveryOffsetOfTheTableResolvesToARealTextInEveryLanguage) {
    const unsigned offsets[] = {0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,
                                16,  17,  18,  100, 101, 102, 103, 104, 105, 106, 107, 108, 110, 111, 112, 113,
                                114, 115, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 129, 131};
    for (int language = 0; language < zu::kLanguageCount; ++language) {
        for (unsigned offset : offsets) {
            const unsigned id = zu::localised_message_id(1000 + offset, language, zu::load_resource_string);
            const std::wstring text = zu::load_resource_string(id);
            EXPECT_FALSE(text.empty()) << "language " << language << " offset " << offset;
            EXPECT_NE(text, L"#") << "language " << language << " offset " << offset;
        }
    }
    EXPECT_EQ(zu::load_resource_string(1131), L"Mise à jour de DirectX...");
    EXPECT_EQ(zu::load_resource_string(999999), L"");
}

TEST(MessageText, InsertsAndTitle) {
    EXPECT_EQ(zu::format_message(L"Update from '%1' to '%2'.", {L"A", L"B"}), L"Update from 'A' to 'B'.");
    EXPECT_EQ(zu::format_message(L"%2%1%3", {L"x"}), L"x");
    EXPECT_EQ(zu::format_message(L"100% sure", {}), L"100% sure");
    zu::set_language(zu::kEnglish);
    EXPECT_EQ(InstallerTitle(true), L"Installer \u2013 Mobrix 6.05h");
    EXPECT_EQ(InstallerTitle(false), L"Installer");
    EXPECT_EQ(FormatMessageText(1115, {L"\"C:\\a b\\x.dll\""}), L"Copying File  \"C:\\a b\\x.dll\"...");
    zu::set_language(zu::kFrench);
    EXPECT_EQ(InstallerTitle(true), L"Installeur \u2013 Mobrix 6.05h");
}

TEST(LanguageState, LocaleIdAndCharacterLocaleNames) {
    EXPECT_EQ(zu::locale_id_for(1, 0x0409), 0x0409u);
    EXPECT_EQ(zu::locale_id_for(0, 0x0409), 0x040Cu);
    EXPECT_EQ(zu::locale_id_for(1, 0x10409), 0x10409u);
    EXPECT_EQ(zu::character_locale_name_for(1, 0x0809), L"");       // same primary language
    EXPECT_EQ(zu::character_locale_name_for(2, 0x0409), L"de-DE");
    zu::set_language(3);
    EXPECT_EQ(zu::get_language(), 3);
    EXPECT_EQ(zu::language_locale_id(), 0x0C0Au);
    EXPECT_EQ(zu::language_langid(9), 0x0418);
    EXPECT_EQ(zu::language_native_name(0), L"Français");
    zu::set_language(zu::kFrench);
}

TEST(LanguageState, RightToLeftFallsBackToHebrewOnly) {
    for (int n = 0; n < zu::kLanguageCount; ++n) EXPECT_EQ(zu::is_rtl_language(n), n == 16) << n;
}

}  // namespace
