// Interim SetPrivilege, so that the journal links until the security layer's own version
// lands; it is to be removed then. Only the behaviour the journal relies on: switch one
// privilege of the process token, false when the token lacks it.
#include "system/privileges.hpp"

#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"

namespace zu {

bool SetPrivilege(const wchar_t* privilegeName, bool enable) {
    unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    if (!::LookupPrivilegeValueW(nullptr, privilegeName, &privileges.Privileges[0].Luid)) return false;
    if (!::AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof privileges, nullptr, nullptr)) return false;
    // Success with ERROR_NOT_ALL_ASSIGNED means the token does not hold the privilege.
    return ::GetLastError() == ERROR_SUCCESS;
}

}  // namespace zu
