#include "i18n/language_state.hpp"

#include "i18n/language_platform.hpp"

namespace zu {
namespace {

struct LanguageState {
    language_set defaultAllowedSet = 1;  // French only; nothing in the installer changes it
    language_number current = kFrench;
    std::uint32_t localeId = 0;

    LanguageState() {
        localeId = locale_id_for(kFrench, language_platform::user_default_lcid());
        language_platform::prepare_process_locale(localeId);
        language_platform::switch_character_locale(
            character_locale_name_for(kFrench, language_platform::user_default_langid()));
    }
};

LanguageState& state() {
    static LanguageState instance;  // thread-safe, created exactly once
    return instance;
}

language_number clamp(language_number number) {
    return (number >= 0 && number < kLanguageCount) ? number : kFrench;
}

}  // namespace

std::uint32_t locale_id_for(language_number number, std::uint32_t userLcid) {
    const std::uint16_t langid = language_table()[static_cast<size_t>(clamp(number))].langid;
    return (userLcid & 0xFFFFu) == langid ? userLcid : langid;  // default sort is 0
}

std::wstring character_locale_name_for(language_number number, std::uint16_t userLangid) {
    const std::uint16_t langid = language_table()[static_cast<size_t>(clamp(number))].langid;
    if ((userLangid & 0x3FFu) == (langid & 0x3FFu)) return std::wstring();
    return language_platform::locale_name(langid);
}

void set_language(language_number number) {
    LanguageState& s = state();
    number = clamp(number);
    if (number != s.current) {
        language_platform::switch_character_locale(
            character_locale_name_for(number, language_platform::user_default_langid()));
    }
    s.current = number;
    s.localeId = locale_id_for(number, language_platform::user_default_lcid());
}

language_number get_language() { return state().current; }

language_number detect_language(language_set set) {
    return language_for_langid(language_platform::user_default_langid(), set, state().defaultAllowedSet);
}

std::uint16_t language_langid(language_number number) {
    state();
    return language_table()[static_cast<size_t>(clamp(number))].langid;
}

std::uint32_t language_locale_id() { return state().localeId; }

std::wstring language_native_name(language_number number) {
    state();
    const std::uint32_t lcid = locale_id_for(number, language_platform::user_default_lcid());
    return language_platform::upper_case_first(language_platform::native_language_name(lcid));
}

bool is_rtl_language(language_number number) {
    state();
    number = clamp(number);
    if (auto rtl = language_platform::font_signature_rtl(language_table()[static_cast<size_t>(number)].langid)) {
        return *rtl;
    }
    return number == 16;  // Hebrew
}

}  // namespace zu
