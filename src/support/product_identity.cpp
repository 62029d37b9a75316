#include "support/product_identity.hpp"

namespace zu {
constexpr std::uint16_t ProductIdentity::versionNumber[4];
}
