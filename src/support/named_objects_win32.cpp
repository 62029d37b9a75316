#include "support/named_objects.hpp"

#include <string>

#include "support/security_objects.hpp"
#include "support/system_gate.hpp"

namespace zu {
namespace {

// Runs create with the secured attributes and the prefixed name; error receives the create
// call's last error, which the owners' release keeps but which the caller sets again last.
template <class Create>
unique_handle create_secured(DWORD fullAccess, const wchar_t* name, DWORD& error, Create create) {
    const std::wstring fullName = name ? global_object_prefix() + name : std::wstring();
    WellKnownSid world(WellKnown::Everyone);
    SingleEntryAcl acl(world.get(), fullAccess);
    unique_local_memory descriptor = new_security_descriptor();
    advapi::set_security_descriptor_dacl(descriptor.get(), true, acl.get(), false);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
    unique_handle handle(create(&attributes, name ? fullName.c_str() : nullptr));
    error = ::GetLastError();
    return handle;
}

}  // namespace

unique_handle create_secured_mutex(bool initiallyOwned, const wchar_t* name) {
    DWORD error = 0;
    unique_handle handle = create_secured(MUTEX_ALL_ACCESS, name, error,
        [&](SECURITY_ATTRIBUTES* attributes, const wchar_t* fullName) {
            return ::CreateMutexW(attributes, initiallyOwned, fullName);
        });
    ::SetLastError(error);
    return handle;
}

unique_handle create_secured_semaphore(LONG initialCount, LONG maximumCount, const wchar_t* name) {
    DWORD error = 0;
    unique_handle handle = create_secured(SEMAPHORE_ALL_ACCESS, name, error,
        [&](SECURITY_ATTRIBUTES* attributes, const wchar_t* fullName) {
            return ::CreateSemaphoreW(attributes, initialCount, maximumCount, fullName);
        });
    ::SetLastError(error);
    return handle;
}

void named_mutex::open(const wchar_t* name, bool initiallyOwned, bool secured) {
    close();
    handle_ = secured ? create_secured_mutex(initiallyOwned, name)
                      : unique_handle(::CreateMutexW(nullptr, initiallyOwned, name));
    const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (!handle_ || !initiallyOwned) {
        owned_ = false;
    } else if (!existed) {
        owned_ = true;
    } else {
        // The mutex was there before us: asking for it initially owned did not give it to us.
        DWORD wait = ::WaitForSingleObject(handle_.get(), INFINITE);
        owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
}

bool named_mutex::try_lock() {
    // A missing handle makes the wait fail (WAIT_FAILED): not owned.
    DWORD wait = handle_ ? ::WaitForSingleObject(handle_.get(), 0) : WAIT_FAILED;
    owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    return owned_;
}

void named_mutex::release() {
    if (handle_) ::ReleaseMutex(handle_.get());
    owned_ = false;
}

void named_mutex::close() {
    if (handle_ && owned_) ::ReleaseMutex(handle_.get());
    owned_ = false;
    handle_.reset();
}

bool instance_counter::register_process(const wchar_t* name) {
    unregister();
    handle_ = create_secured_semaphore(0, 0x7FFFFFFF, name);
    registered_ = handle_ && ::ReleaseSemaphore(handle_.get(), 1, nullptr);
    if (registered_) ++units_;
    return registered_;
}

LONG instance_counter::count() const {
    LONG previous = 0;
    if (!handle_ || !::ReleaseSemaphore(handle_.get(), 1, &previous)) return 0;
    // Take the unit just added straight back; were this to fail, the answer would still hold.
    ::WaitForSingleObject(handle_.get(), 0);
    return previous;
}

void instance_counter::unregister() {
    if (handle_ && units_ > 0) {
        LONG taken = 0;
        while (taken < units_ && ::WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0) ++taken;
        if (taken == units_) {
            units_ = 0;
        } else if (taken > 0) {
            // All or nothing: what was taken goes back, and the units stay ours.
            ::ReleaseSemaphore(handle_.get(), taken, nullptr);
        }
    }
    if (handle_ && units_ < 0 && ::ReleaseSemaphore(handle_.get(), -units_, nullptr)) units_ = 0;
    handle_.reset();
    registered_ = false;
}

}  // namespace zu
