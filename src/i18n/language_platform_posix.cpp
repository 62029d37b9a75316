// Native builds have no national-language database: the user is English (United States),
// locale switches leave the C locale alone, and native names come from a small table.
#include "i18n/language_platform.hpp"

#include <cwctype>

#include "i18n/language_table.hpp"

namespace zu::language_platform {

std::uint16_t user_default_langid() { return 0x0409; }
std::uint32_t user_default_lcid() { return 0x0409; }
void prepare_process_locale(std::uint32_t) {}
void switch_character_locale(const std::wstring&) {}

namespace {
struct LocaleNames {
    std::uint16_t langid;
    const wchar_t* name;
    const wchar_t* nativeName;
};
constexpr LocaleNames kNames[] = {
    {0x040C, L"fr-FR", L"français"},   {0x0409, L"en-US", L"English"},     {0x0407, L"de-DE", L"Deutsch"},
    {0x0C0A, L"es-ES", L"español"},    {0x0816, L"pt-PT", L"português"},   {0x0413, L"nl-NL", L"Nederlands"},
    {0x0406, L"da-DK", L"dansk"},      {0x041F, L"tr-TR", L"Türkçe"},      {0x0402, L"bg-BG", L"български"},
    {0x0418, L"ro-RO", L"română"},     {0x0804, L"zh-CN", L"中文"},        {0x0410, L"it-IT", L"italiano"},
    {0x0405, L"cs-CZ", L"čeština"},    {0x0414, L"nb-NO", L"norsk"},       {0x0408, L"el-GR", L"Ελληνικά"},
    {0x0415, L"pl-PL", L"polski"},     {0x040D, L"he-IL", L"עברית"},       {0x042A, L"vi-VN", L"Tiếng Việt"},
};
const LocaleNames* find(std::uint32_t lcid) {
    for (const LocaleNames& n : kNames) {
        if (n.langid == (lcid & 0xFFFFu)) return &n;
    }
    return nullptr;
}
}  // namespace

std::wstring locale_name(std::uint32_t lcid) {
    const LocaleNames* n = find(lcid);
    return n ? n->name : L"";
}

std::wstring native_language_name(std::uint32_t lcid) {
    const LocaleNames* n = find(lcid);
    return n ? n->nativeName : L"";
}

std::optional<bool> font_signature_rtl(std::uint16_t) { return std::nullopt; }

std::wstring upper_case_first(std::wstring text) {
    if (!text.empty()) text[0] = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(text[0])));
    return text;
}

}  // namespace zu::language_platform
