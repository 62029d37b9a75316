// The C runtime's per-thread error indicators: the operating-system error code that the
// Windows runtime records beside errno, and errno itself. POSIX has no separate OS code; the
// failing call's errno is all there is.
#pragma once

#include <cerrno>
#include <cstdlib>

namespace zu {

inline void clear_runtime_errors() noexcept {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}

inline unsigned long runtime_os_error() noexcept {
#ifdef _WIN32
    return static_cast<unsigned long>(_doserrno);
#else
    return 0;
#endif
}

inline int runtime_errno() noexcept { return errno; }

}  // namespace zu
