// Owners of the security objects the installer builds: well-known SIDs, one-entry access
// lists and absolute security descriptors. Each constructor throws a security_error (see
// security_api.hpp) and leaves nothing allocated behind when it does.
//
// Windows build only.
#pragma once

#include "support/security_api.hpp"

namespace zu {

// Which SID WellKnownSid holds.
enum class WellKnown : int {
    Everyone = 0,            // S-1-1-0
    Administrators = 1,      // S-1-5-32-544
    Users = 2,               // S-1-5-32-545
    AuthenticatedUsers = 3,  // S-1-5-11
    CurrentAccount = 4,      // the account of the current user name (must be a user account)
    ThreadUser = 5,          // the user of the current thread's token (the thread must impersonate)
};

// A well-known security identifier, released when the holder goes away. Kinds 0 to 3 come
// from AllocateAndInitializeSid (released with FreeSid), 4 and 5 are copies in ordinary
// memory. An unknown kind throws kErrorInvalidArgument.
class WellKnownSid {
public:
    explicit WellKnownSid(WellKnown which);
    explicit WellKnownSid(int which) : WellKnownSid(static_cast<WellKnown>(which)) {}

    PSID get() const noexcept { return allocated_ ? allocated_.get() : static_cast<PSID>(copied_.get()); }
    DWORD length() const { return advapi::get_length_sid(get()); }

private:
    unique_allocated_sid allocated_;
    unique_local_memory copied_;
};

// An ACL of revision 2 and exactly 8 + 8 + GetLengthSid(sid) bytes holding one access-allowed
// entry for sid with accessMask and no entry flags.
class SingleEntryAcl {
public:
    SingleEntryAcl(PSID sid, DWORD accessMask);

    PACL get() const noexcept { return static_cast<PACL>(memory_.get()); }

private:
    unique_local_memory memory_;
};

// A zeroed absolute security descriptor initialised with revision 1 and nothing set.
unique_local_memory new_security_descriptor();

}  // namespace zu
