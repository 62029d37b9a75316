#include "app/running_product_counter.hpp"

namespace zu {

// Not registered until a program's own registration says so: the installer registers during
// static initialisation (running_product_registration.cpp); test programs that link the
// application do not, and so never count as a running product.
instance_counter& running_product_counter() {
    static instance_counter counter;
    return counter;
}

}  // namespace zu
