// The process-wide language state: the current language and what follows from it.
// Created on the first call of any of these functions and kept until the process ends.
#pragma once

#include <cstdint>
#include <string>

#include "i18n/language_table.hpp"

namespace zu {

void set_language(language_number number);
language_number get_language();
language_number detect_language(language_set set);
std::uint16_t language_langid(language_number number);
std::uint32_t language_locale_id();
std::wstring language_native_name(language_number number);
bool is_rtl_language(language_number number);

// The locale id kept for language n: the user's LCID when its LANGID is n's, else n's
// LANGID with the default sort.
std::uint32_t locale_id_for(language_number number, std::uint32_t userLcid);

// The character-locale name chosen for language n: empty (the user's default) when the
// user's language has n's primary language, else n's "ll-CC" name.
std::wstring character_locale_name_for(language_number number, std::uint16_t userLangid);

}  // namespace zu
