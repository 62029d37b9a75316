// The access list of the installation's temporary folder: full control for Administrators and
// SYSTEM, inherited by everything placed inside, and nothing inherited from the folder above.
// What the installer extracts there runs or is restored elevated, so no other account may
// change it. Windows build only.
#pragma once

#include "support/security_objects.hpp"

namespace zu {

class TempFolderSecurity {
public:
    TempFolderSecurity();  // throws a security_error

    // An absolute descriptor with the protected list set, for CreateDirectoryW.
    PSECURITY_DESCRIPTOR descriptor() const noexcept { return descriptor_.get(); }
    PACL acl() const noexcept { return static_cast<PACL>(acl_.get()); }

private:
    WellKnownSid administrators_;
    unique_allocated_sid system_;
    unique_local_memory acl_;
    unique_local_memory descriptor_;
};

}  // namespace zu
