// The languages the support library knows, numbered 0 to 17, and their fixed properties.
#pragma once

#include <array>
#include <cstdint>

namespace zu {

using language_number = int;
using language_set = std::uint32_t;  // bit n stands for language n

constexpr int kLanguageCount = 18;
constexpr language_number kFrench = 0;
constexpr language_number kEnglish = 1;
constexpr language_number kVietnamese = 17;

// The set the installer detects the system language in: the offered languages and Vietnamese.
constexpr language_set kInstallerDetectionSet = 0x34EBF;

struct LanguageRow {
    language_number number;
    const wchar_t* englishName;
    std::uint16_t langid;
    unsigned messageBlock;   // string id of message 0; 0 when the language has no block
    bool translated;         // the installer's texts exist in this language
    int listPlace;           // 1-based place in the Start page list; 0 when not offered
    std::uint16_t detectedFromPrimary;
    unsigned flagIcon;       // icon resource id; 0 when none
};

// Indexed by language number.
const std::array<LanguageRow, kLanguageCount>& language_table();

// Numbers outside 0..17 (such as a stored value read from the registry) are not offered.
bool IsLanguageOffered(long long number);
// Asked only for numbers 0..17.
bool IsInstallerTranslated(language_number number);

// The offered languages in the order the Start page list shows them.
std::array<language_number, 12> offered_languages_in_list_order();

// The detection rule: the language whose row matches the LANGID's primary language (Chinese
// only for sublanguages 2 and 4) when it is in the set; else English when English is in the
// set, else French. An empty set means defaultSet.
language_number language_for_langid(std::uint16_t langid, language_set set, language_set defaultSet);

}  // namespace zu
