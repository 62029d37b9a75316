#include "i18n/stored_language.hpp"


namespace zu {

// Native builds keep no registry: nothing is stored.
std::optional<long long> read_stored_language() { return std::nullopt; }

}  // namespace zu
