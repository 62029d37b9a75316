// One move-only owner for every kind of system resource (handles, modules, registry keys,
// COM pointers, SIDs, memory blocks, temporary files). A traits type per kind says what the
// empty value is and how to close one:
//
//   struct handle_traits {
//       using value_type = HANDLE;
//       static value_type invalid() noexcept;
//       static void close(value_type) noexcept;
//   };
//
// Closing keeps the thread's last-error value (on Windows) intact, so that an owner going out
// of scope on a failure path does not overwrite the error the caller is about to report.
#pragma once

#include <utility>

#ifdef _WIN32
#include "support/windows_api.hpp"
#endif

namespace zu {

template <class Traits>
class unique_resource {
public:
    using value_type = typename Traits::value_type;

    unique_resource() noexcept : value_(Traits::invalid()) {}
    explicit unique_resource(value_type value) noexcept : value_(value) {}
    unique_resource(const unique_resource&) = delete;
    unique_resource& operator=(const unique_resource&) = delete;
    unique_resource(unique_resource&& other) noexcept : value_(other.release()) {}
    unique_resource& operator=(unique_resource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_resource() { reset(); }

    value_type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

    // Gives up ownership; the caller becomes responsible for closing the value.
    [[nodiscard]] value_type release() noexcept { return std::exchange(value_, Traits::invalid()); }

    void reset(value_type value = Traits::invalid()) noexcept {
        value_type old = std::exchange(value_, value);
        if (old != Traits::invalid()) close_keeping_error(old);
    }

    // For APIs that return the resource through an out-parameter; closes any current value.
    value_type* put() noexcept {
        reset();
        return &value_;
    }

private:
    static void close_keeping_error(value_type value) noexcept {
#ifdef _WIN32
        DWORD error = ::GetLastError();
        Traits::close(value);
        ::SetLastError(error);
#else
        Traits::close(value);
#endif
    }

    value_type value_;
};

#ifdef _WIN32
struct kernel_handle_traits {
    using value_type = HANDLE;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type h) noexcept { ::CloseHandle(h); }
};
// CreateFileW and FindFirstFileW answer INVALID_HANDLE_VALUE, not null.
struct file_handle_traits {
    using value_type = HANDLE;
    static value_type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(value_type h) noexcept { ::CloseHandle(h); }
};
struct module_traits {
    using value_type = HMODULE;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type m) noexcept { ::FreeLibrary(m); }
};
struct registry_key_traits {
    using value_type = HKEY;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type k) noexcept { ::RegCloseKey(k); }
};
struct local_memory_traits {
    using value_type = HLOCAL;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type m) noexcept { ::LocalFree(m); }
};

// A COM interface pointer, released once.
template <class Interface>
struct com_traits {
    using value_type = Interface*;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type object) noexcept { object->Release(); }
};

using unique_handle = unique_resource<kernel_handle_traits>;
using unique_file_handle = unique_resource<file_handle_traits>;
using unique_module = unique_resource<module_traits>;
using unique_registry_key = unique_resource<registry_key_traits>;
using unique_local_memory = unique_resource<local_memory_traits>;
template <class Interface>
using unique_com = unique_resource<com_traits<Interface>>;
#endif

}  // namespace zu
