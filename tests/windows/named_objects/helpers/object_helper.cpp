// The second process of the named-object tests:
//   named_objects_helper hold NAME READY GO       take the mutex, signal READY, release on GO
//   named_objects_helper abandon NAME             take the mutex and end without releasing it
//   named_objects_helper register NAME READY GO   register in the counter, signal READY, end
//                                                 normally on GO (the unit is taken back)
//   named_objects_helper report NAME              register, exit with (registered ? 100 : 0) + count
// Exit code 3: the helper could not get what it was asked to hold.
#include "support/named_objects.hpp"
#include "support/windows_api.hpp"

#include <string>

namespace {

bool signal_and_wait(const wchar_t* ready, const wchar_t* go) {
    zu::unique_handle readyEvent(::OpenEventW(EVENT_MODIFY_STATE, FALSE, ready));
    zu::unique_handle goEvent(::OpenEventW(SYNCHRONIZE, FALSE, go));
    if (!readyEvent || !goEvent) return false;
    ::SetEvent(readyEvent.get());
    return ::WaitForSingleObject(goEvent.get(), 60000) == WAIT_OBJECT_0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring mode = argv[1];
    const wchar_t* name = argv[2];
    if (mode == L"hold" && argc == 5) {
        zu::named_mutex mutex(name, false, true);
        if (!mutex.try_lock()) return 3;
        if (!signal_and_wait(argv[3], argv[4])) return 4;
        mutex.release();
        return 0;
    }
    if (mode == L"abandon") {
        zu::named_mutex mutex(name, false, true);
        if (!mutex.try_lock()) return 3;
        ::ExitProcess(0);  // the holder is never closed: the mutex is left abandoned
    }
    if (mode == L"register" && argc == 5) {
        zu::instance_counter counter(name);
        if (!counter.registered()) return 3;
        return signal_and_wait(argv[3], argv[4]) ? 0 : 4;
    }
    if (mode == L"report") {
        zu::instance_counter counter(name);
        return (counter.registered() ? 100 : 0) + static_cast<int>(counter.count());
    }
    return 2;
}
