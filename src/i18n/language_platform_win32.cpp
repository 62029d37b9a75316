#include "i18n/language_platform.hpp"

#include <clocale>
#include <locale>
#include <string>

#include "support/windows_api.hpp"
#include "support/windows_queries.hpp"

namespace zu::language_platform {

std::uint16_t user_default_langid() { return ::GetUserDefaultLangID(); }
std::uint32_t user_default_lcid() { return ::GetUserDefaultLCID(); }

void prepare_process_locale(std::uint32_t lcid) {
    _configthreadlocale(_DISABLE_PER_THREAD_LOCALE);
    ::SetThreadLocale(lcid);
}

void switch_character_locale(const std::wstring& name) {
    std::string narrow(name.begin(), name.end());  // locale names are ASCII
    std::locale combined;
    try {
        combined = std::locale(std::locale(), std::locale(narrow.c_str()), std::locale::collate | std::locale::ctype);
    } catch (const std::exception&) {
        return;  // the runtime does not know the name: keep the previous character locale
    }
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    std::setlocale(LC_ALL, "C");
    if (!std::setlocale(LC_CTYPE, narrow.c_str()) || !std::setlocale(LC_COLLATE, narrow.c_str())) {
        std::setlocale(LC_ALL, saved.c_str());
        return;
    }
    std::locale::global(combined);
}

static std::wstring locale_info(LCID lcid, LCTYPE type) {
    wchar_t buffer[128];
    int length = ::GetLocaleInfoW(lcid, type, buffer, 128);
    return length > 1 ? std::wstring(buffer, static_cast<size_t>(length - 1)) : std::wstring();
}

std::wstring locale_name(std::uint32_t lcid) {
    if (zu::is_vista_or_later()) return locale_info(lcid, LOCALE_SNAME);
    std::wstring language = locale_info(lcid, LOCALE_SISO639LANGNAME);
    std::wstring country = locale_info(lcid, LOCALE_SISO3166CTRYNAME);
    if (language.empty() || country.empty()) return std::wstring();
    return language + L"-" + country;
}

std::wstring native_language_name(std::uint32_t lcid) { return locale_info(lcid, LOCALE_SNATIVELANGNAME); }

std::optional<bool> font_signature_rtl(std::uint16_t langid) {
    LOCALESIGNATURE signature{};
    int units = ::GetLocaleInfoW(MAKELCID(langid, SORT_DEFAULT), LOCALE_FONTSIGNATURE,
                                 reinterpret_cast<LPWSTR>(&signature), sizeof signature / sizeof(wchar_t));
    if (units == 0) return std::nullopt;
    return (signature.lsUsb[3] & (1u << 27)) != 0;
}

std::wstring upper_case_first(std::wstring text) {
    if (text.empty()) return text;
    DWORD units = (text.size() > 1 && IS_HIGH_SURROGATE(text[0]) && IS_LOW_SURROGATE(text[1])) ? 2 : 1;
    ::CharUpperBuffW(&text[0], units);
    return text;
}

}  // namespace zu::language_platform
