// Building the access list that opens a file to BUILTIN\Users (see users_grant_rule.hpp for
// where the entry goes). Kept apart from the file reading and writing so that it can be run on
// access lists built in memory.
//
// Windows build only.
#pragma once

#include "support/security_api.hpp"

namespace zu {

// A new ACL (revision 2, in its own zeroed memory) made of oldDacl's entries with one
// access-allowed entry for users (accessMask, no flags) after the explicit entries and before
// the inherited ones; old entries for users are dropped. A null oldDacl counts as empty.
// Throws a security_error; oldDacl is never changed.
unique_local_memory build_users_acl(PACL oldDacl, PSID users, DWORD accessMask);

}  // namespace zu
