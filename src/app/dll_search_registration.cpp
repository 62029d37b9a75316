// The library search is restricted before any other static initialiser runs, so that nothing
// the installer loads later by name (delay-loaded libraries included) can come from its own
// folder or the current one.
#include "support/dll_search.hpp"
#include "support/static_init_order.hpp"

namespace {

struct dll_search_registration {
    dll_search_registration() { zu::RestrictDllSearchToSystemFolder(); }
};

const dll_search_registration dllSearch ZU_INIT_PRIORITY(zu::init_order::dllSearch);

}  // namespace
