#include "i18n/language_table.hpp"

#include <algorithm>

namespace zu {

const std::array<LanguageRow, kLanguageCount>& language_table() {
    static const std::array<LanguageRow, kLanguageCount> rows{{
        {0, L"French", 0x040C, 1000, true, 1, 0x0C, 144},
        {1, L"English", 0x0409, 2000, true, 2, 0x09, 145},
        {2, L"German", 0x0407, 3000, true, 3, 0x07, 141},
        {3, L"Spanish", 0x0C0A, 4000, true, 4, 0x0A, 143},
        {4, L"Portuguese", 0x0816, 5000, true, 6, 0x16, 148},
        {5, L"Dutch", 0x0413, 7000, false, 7, 0x13, 147},
        {6, L"Danish", 0x0406, 8000, false, 0, 0x06, 142},
        {7, L"Turkish", 0x041F, 9000, true, 9, 0x1F, 149},
        {8, L"Bulgarian", 0x0402, 11000, false, 0, 0x02, 150},
        {9, L"Romanian", 0x0418, 12000, true, 10, 0x18, 151},
        {10, L"Chinese (Simplified)", 0x0804, 10000, false, 11, 0x04, 152},
        {11, L"Italian", 0x0410, 6000, true, 5, 0x10, 146},
        {12, L"Czech", 0x0405, 13000, false, 0, 0x05, 153},
        {13, L"Norwegian", 0x0414, 14000, false, 0, 0x14, 154},
        {14, L"Greek", 0x0408, 15000, false, 8, 0x08, 155},
        {15, L"Polish", 0x0415, 16000, false, 0, 0x15, 156},
        {16, L"Hebrew", 0x040D, 17000, false, 12, 0x0D, 157},
        {17, L"Vietnamese", 0x042A, 0, true, 0, 0x2A, 0},
    }};
    return rows;
}

bool IsLanguageOffered(long long number) {
    return number >= 0 && number < kLanguageCount && language_table()[static_cast<size_t>(number)].listPlace != 0;
}

bool IsInstallerTranslated(language_number number) {
    return number >= 0 && number < kLanguageCount && language_table()[static_cast<size_t>(number)].translated;
}

std::array<language_number, 12> offered_languages_in_list_order() {
    std::array<language_number, 12> order{};
    for (const LanguageRow& row : language_table()) {
        if (row.listPlace != 0) order[static_cast<size_t>(row.listPlace - 1)] = row.number;
    }
    return order;
}

language_number language_for_langid(std::uint16_t langid, language_set set, language_set defaultSet) {
    if (set == 0) set = defaultSet;
    const unsigned primary = langid & 0x3FFu;
    const unsigned sublanguage = langid >> 10;
    for (const LanguageRow& row : language_table()) {
        if (row.detectedFromPrimary != primary) continue;
        // Only Simplified Chinese and Singapore map to the Chinese row.
        if (row.number == 10 && sublanguage != 2 && sublanguage != 4) break;
        if (set & (1u << row.number)) return row.number;
        break;
    }
    return (set & (1u << kEnglish)) ? kEnglish : kFrench;
}

}  // namespace zu
