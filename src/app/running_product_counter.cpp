#include "app/running_product_counter.hpp"

#include <string>

#include "support/object_names.hpp"
#include "support/security_api.hpp"
#include "support/static_init_order.hpp"

namespace {

// An exception here would end the process before it could say anything; an installer that
// cannot register runs without the running-product check instead.
struct running_product_registration {
    running_product_registration() {
        try {
            counter.register_process(zu::running_product_counter_name().c_str());
        } catch (zu::security_error) {
        }
    }
    zu::instance_counter counter;
};

running_product_registration registration ZU_INIT_PRIORITY(zu::init_order::runningProductCounter);

}  // namespace

namespace zu {

instance_counter& running_product_counter() {
    return registration.counter;
}

}  // namespace zu
