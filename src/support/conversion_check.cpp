#include "support/conversion_check.hpp"

#include <cwchar>
#include <locale>

namespace zu {

bool conversion_facilities_available() {
    using wide_to_narrow = std::codecvt<wchar_t, char, std::mbstate_t>;
    std::locale userDefault = std::locale::classic();
    try {
        userDefault = std::locale("");
    } catch (const std::exception&) {
        // A runtime without named locales (such as one that only knows "C") takes an
        // environment name it cannot load as its user default: its default is then "C".
    }
    // File paths are converted through the global locale's facet.
    return std::has_facet<wide_to_narrow>(userDefault) && std::has_facet<wide_to_narrow>(std::locale());
}

}  // namespace zu
