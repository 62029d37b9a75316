// Carries the installer's own static registrations (system gate, running-product counter):
//   named_objects_static_helper READY GO
// signals READY once main runs, waits for GO, then exits with
// (registered ? 100 : 0) + the count it sees; at exit the counter's unit is taken back.
#include "app/running_product_counter.hpp"
#include "support/windows_api.hpp"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    zu::unique_handle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]));
    zu::unique_handle go(::OpenEventW(SYNCHRONIZE, FALSE, argv[2]));
    if (!ready || !go) return 4;
    ::SetEvent(ready.get());
    if (::WaitForSingleObject(go.get(), 60000) != WAIT_OBJECT_0) return 4;
    zu::instance_counter& counter = zu::running_product_counter();
    return (counter.registered() ? 100 : 0) + static_cast<int>(counter.count());
}
