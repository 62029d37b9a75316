// Named kernel objects shared by all logon sessions and open to everyone: the installer mutex
// and the running-product counter (see object_names.hpp for their names).
//
// The secured objects get global_object_prefix() before their name and an absolute security
// descriptor of revision 1 whose DACL (present, not defaulted, revision 2, 16 + SID length
// bytes) holds one access-allowed entry for Everyone (S-1-1-0) with the object's full access;
// their handles are not inheritable. Building that descriptor throws a security_error
// (security_api.hpp), which these functions do not catch.
//
// Windows build only.
#pragma once

#include "support/unique_resource.hpp"

namespace zu {

// The named mutex (created or opened), or an empty handle. On return the thread's last error
// is the one CreateMutexW set, so that ERROR_ALREADY_EXISTS tells an existing mutex.
unique_handle create_secured_mutex(bool initiallyOwned, const wchar_t* name);

// The same for a semaphore.
unique_handle create_secured_semaphore(LONG initialCount, LONG maximumCount, const wchar_t* name);

// Holds one named mutex. Ownership is per thread: take, release and retake it on one thread.
class named_mutex {
public:
    named_mutex() = default;
    named_mutex(const wchar_t* name, bool initiallyOwned, bool secured) { open(name, initiallyOwned, secured); }
    named_mutex(const named_mutex&) = delete;
    named_mutex& operator=(const named_mutex&) = delete;
    ~named_mutex() { close(); }

    // Secured: create_secured_mutex; otherwise CreateMutexW with the name as given and no
    // security attributes. With initiallyOwned on a mutex that already exists, this waits
    // (without time limit) until it can be taken.
    void open(const wchar_t* name, bool initiallyOwned, bool secured);

    // Takes the mutex without waiting; an abandoned mutex counts as taken. False with no handle.
    bool try_lock();

    // Gives the mutex back (ReleaseMutex) and marks it not owned.
    void release();

    // Releases the mutex when owned and closes the handle.
    void close();

    bool owned() const noexcept { return owned_; }
    HANDLE handle() const noexcept { return handle_.get(); }

private:
    unique_handle handle_;
    bool owned_ = false;
};

// This process's place in the running-product counter, a semaphore in which every registered
// process holds one unit.
class instance_counter {
public:
    instance_counter() = default;
    // Registers at once (the installer does so during static initialisation).
    explicit instance_counter(const wchar_t* name) { register_process(name); }
    instance_counter(const instance_counter&) = delete;
    instance_counter& operator=(const instance_counter&) = delete;
    // Unregisters, so that a process ending normally takes its unit back.
    ~instance_counter() { unregister(); }

    // Creates the secured semaphore (count 0, maximum 0x7FFFFFFF) and adds this process's
    // unit. False, and no unit, when the semaphore cannot be had.
    bool register_process(const wchar_t* name);

    // The units of every registered process, this one included; the semaphore is left as it
    // was found. 0 when this process has no semaphore.
    LONG count() const;

    // Takes this process's units back (all of them or none) and closes the handle.
    void unregister();

    bool registered() const noexcept { return registered_; }
    LONG units() const noexcept { return units_; }

private:
    unique_handle handle_;
    LONG units_ = 0;
    bool registered_ = false;
};

}  // namespace zu
