// The installer's unit in the running-product counter, taken before the application object
// exists and given back when the process ends.
#include "app/running_product_counter.hpp"
#include "support/object_names.hpp"
#include "support/security_api.hpp"
#include "support/static_init_order.hpp"

namespace {

// An exception here would end the process before it could say anything; an installer that
// cannot register runs without the running-product check instead.
struct running_product_registration {
    running_product_registration() {
        try {
            zu::running_product_counter().register_process(zu::running_product_counter_name().c_str());
        } catch (zu::security_error) {
        }
    }
};

const running_product_registration registration ZU_INIT_PRIORITY(zu::init_order::runningProductCounter);

}  // namespace
