// The system gate runs before every other static initialiser of the installer but the library
// search restriction; a refused system never gets past it.
#include "support/static_init_order.hpp"
#include "support/system_gate.hpp"

namespace {

struct system_gate_registration {
    system_gate_registration() { zu::record_system_gate(zu::check_system()); }
};

const system_gate_registration systemGate ZU_INIT_PRIORITY(zu::init_order::systemGate);

}  // namespace
