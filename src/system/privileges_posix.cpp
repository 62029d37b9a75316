// POSIX stand-ins, so that the journal and the placement policy run natively: there is no
// token to adjust, the superuser stands for an administrator, and "users may modify" becomes
// read and write for everyone (execute bits are left as they are).
#include "system/privileges.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cwchar>
#include <string>

namespace zu {
namespace {

std::string narrow_path(const wchar_t* path) {
    std::mbstate_t state{};
    const wchar_t* source = path;
    std::size_t length = std::wcsrtombs(nullptr, &source, 0, &state);
    if (length == static_cast<std::size_t>(-1)) return {};
    std::string result(length, '\0');
    source = path;
    std::wcsrtombs(result.data(), &source, length, &state);
    return result;
}

}  // namespace

bool IsAdministrator() {
    return ::geteuid() == 0;
}

bool SetPrivilege(const wchar_t*, bool) {
    return false;
}

bool GrantUsersAccess(const wchar_t* filePath, std::uint32_t) {
    if (!filePath) return false;
    const std::string path = narrow_path(filePath);
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    const mode_t readWrite = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
    return ::chmod(path.c_str(), (status.st_mode & 07777) | readWrite) == 0;
}

}  // namespace zu
