#include "support/message_box_rules.hpp"

namespace zu {

std::uint32_t with_default_icon(std::uint32_t type) {
    if (type & kIconMask) return type;
    switch (type & 0x0F) {
    case 0:  // OK
    case 1:  // OK/Cancel
        return type | kIconExclamation;
    case 3:  // Yes/No/Cancel
    case 4:  // Yes/No
        return type | kIconQuestion;
    default:
        return type;
    }
}

}  // namespace zu
