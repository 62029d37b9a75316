// Administrator test, token privileges and the users' grant on shared data files.
// Each operation answers with a bool; the security layer's thrown error codes stop here.
#pragma once

#include <cstdint>

namespace zu {

// Access granted to BUILTIN\Users on shared data files: "modify" without FILE_EXECUTE.
constexpr std::uint32_t kUsersModifyAccess = 0x0013019F;

// True when the process token is a member of BUILTIN\Administrators.
bool IsAdministrator();

// Switches one privilege of the process token (for example L"SeBackupPrivilege") on or off.
// False when the token lacks it or the change could not be made; nothing is changed then.
bool SetPrivilege(const wchar_t* privilegeName, bool enable);

// Gives BUILTIN\Users accessMask on filePath, keeping the file's other entries. False when the
// file's access list could not be read or written; the file is left as it was then.
bool GrantUsersAccess(const wchar_t* filePath, std::uint32_t accessMask);

}  // namespace zu
