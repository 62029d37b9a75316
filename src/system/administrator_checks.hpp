// The two ways IsAdministrator finds out whether the caller belongs to BUILTIN\Administrators,
// open to tests so that each can be shown on its own. Windows build only.
#pragma once

#include "support/security_api.hpp"

namespace zu {

// CheckTokenMembership on the caller's effective token. Throws a security_error when the
// function is missing or the call fails.
bool AdministratorByTokenMembership();

// The fallback for systems without CheckTokenMembership: impersonating itself, the thread asks
// AccessCheck whether it may use an object open only to Administrators. False on any failure;
// the thread stops impersonating before this returns.
bool AdministratorByAccessCheck() noexcept;

}  // namespace zu
