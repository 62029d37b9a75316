// Localised messages. Code names a message by its French string id (1000 + offset); the
// lookup moves it to the current language's block and falls back to English, then French.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "i18n/language_table.hpp"

namespace zu {

// Message offsets (French ids are 1000 + offset).
constexpr unsigned MessageId(unsigned offset) { return 1000 + offset; }

using string_loader = std::function<std::wstring(unsigned id)>;

// The lookup rule for one language, with the strings read through load.
unsigned localised_message_id(unsigned frenchId, language_number language, const string_loader& load);

// Replaces %1, %2, ... %9 by the arguments (the system's message-insert syntax).
std::wstring format_message(const std::wstring& pattern, const std::vector<std::wstring>& arguments);

}  // namespace zu

// The string id holding the message in the current language.
unsigned LocalisedMessageId(unsigned frenchId);
// The text of LocalisedMessageId(frenchId).
std::wstring LoadMessage(unsigned frenchId);
// LoadMessage with its %n inserts replaced by arguments.
std::wstring FormatMessageText(unsigned frenchId, const std::vector<std::wstring>& arguments);
// Message 0, followed with withProduct by " – " and the product's full name.
std::wstring InstallerTitle(bool withProduct);

// The start-up rule: the detected language, replaced by a stored offered one, then English
// when the installer is not translated into the result.
zu::language_number choose_startup_language(zu::language_number detected, std::optional<long long> stored);
