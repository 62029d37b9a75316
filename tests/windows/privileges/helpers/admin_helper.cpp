// Answers the administrator tests for the token it was started with, in its exit code:
// 8, plus 1 when IsAdministrator is true, 2 for the membership test, 4 for the access check.
#include "system/administrator_checks.hpp"
#include "system/privileges.hpp"

int wmain() {
    int code = 8;
    if (zu::IsAdministrator()) code |= 1;
    try {
        if (zu::AdministratorByTokenMembership()) code |= 2;
    } catch (zu::security_error) {
    }
    if (zu::AdministratorByAccessCheck()) code |= 4;
    return code;
}
