// The installer's registration in the running-product counter, made during static
// initialisation (after the system gate, before the application object) and taken back when
// the process ends normally.
#pragma once

#include "support/named_objects.hpp"

namespace zu {

// The installer's counter record: registered() says whether a count can be made.
instance_counter& running_product_counter();

}  // namespace zu
