// The style rules of the support library's message boxes, apart from showing them.
#pragma once

#include <cstdint>

namespace zu {

constexpr std::uint32_t kIconMask = 0xF0;
constexpr std::uint32_t kIconStop = 0x10, kIconQuestion = 0x20, kIconExclamation = 0x30, kIconInformation = 0x40;
constexpr std::uint32_t kRightToLeftReading = 0x100000;

// Without icon bits: the exclamation icon for OK and OK/Cancel, the question icon for
// Yes/No/Cancel and Yes/No; other button sets keep no icon.
std::uint32_t with_default_icon(std::uint32_t type);

// String-resource error codes: the customer bit and 0x08000000 set, the string id below.
constexpr bool is_string_resource_code(std::uint32_t code) {
    return (code & 0x20000000u) && (code & 0x08000000u);
}

}  // namespace zu
