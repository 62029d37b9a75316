// Error codes turned into text, and the message boxes that show them.
#pragma once

#ifdef _WIN32
#include <cstdint>
#include <string>

#include "support/windows_api.hpp"

namespace zu {

// The system's message text for code in language langid (0: the system's choice), without
// trailing line breaks. A code without text reads as E_FAIL's text; if even that is missing,
// "Error".
std::wstring system_message(std::uint32_t code, std::uint16_t langid);

// The text of an error code: a string-resource code gives its string (E_FAIL's text when it
// is empty or the code has no string id); everything else the system text.
std::wstring error_text(std::uint32_t code);

// A message box text or caption: a string, a string id (below 0x10000, not zero), or none.
class message_text {
public:
    message_text() = default;
    message_text(const wchar_t* text) : kind_(text ? Kind::Text : Kind::None), text_(text ? text : L"") {}
    message_text(std::wstring text) : kind_(Kind::Text), text_(std::move(text)) {}
    explicit message_text(unsigned id) : kind_(id != 0 && id < 0x10000 ? Kind::Id : Kind::None), id_(id) {}

    // The text; none gives the empty text.
    std::wstring resolve() const;
    bool empty_or_none() const { return resolve().empty(); }

private:
    enum class Kind { None, Text, Id };
    Kind kind_ = Kind::None;
    std::wstring text_;
    unsigned id_ = 0;
};

// Shows a modal box owned by the application's safe owner; returns the button pressed.
// An empty caption means the application's title.
int message_box(const message_text& text, const message_text& caption, std::uint32_t type);

// The error text of code with an OK button and the exclamation icon.
void show_error(std::uint32_t code);

// The system text of code in a box owned by owner (may be null) with the system's default
// caption; always false, so that validation paths can return it.
bool show_system_error(HWND owner, std::uint32_t code);

// The reading-order bit for a box owned by owner (none: by the detected default language).
std::uint32_t reading_order_for(HWND owner);

}  // namespace zu
#endif
