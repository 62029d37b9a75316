// What the language state needs of the system. Implemented for Win32 (national-language
// support) and for POSIX (fixed answers for native tests and tools).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zu::language_platform {

std::uint16_t user_default_langid();
std::uint32_t user_default_lcid();

// Called once when the language state is created: locale changes of the runtime then apply
// to the whole process, and the calling thread's locale becomes lcid.
void prepare_process_locale(std::uint32_t lcid);

// Switches the runtime's and the standard library's character locale (collation and
// character classification) to the named locale; the empty name is the user's default.
// Failures are ignored: the previous character locale then stays.
void switch_character_locale(const std::wstring& name);

// The locale name for lcid as "ll-CC"; empty when the system has none.
std::wstring locale_name(std::uint32_t lcid);

// The locale's language name in that language, as the system gives it; empty when unknown.
std::wstring native_language_name(std::uint32_t lcid);

// Bit 123 of the locale's Unicode-subset font signature; nullopt when it cannot be read.
std::optional<bool> font_signature_rtl(std::uint16_t langid);

// Upper-cases the first character (a surrogate pair counting as one).
std::wstring upper_case_first(std::wstring text);

}  // namespace zu::language_platform
