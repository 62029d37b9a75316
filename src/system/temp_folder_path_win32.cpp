#include "system/temp_folder_path.hpp"

#include "support/windows_api.hpp"
#include "system/temp_folder_security.hpp"

namespace zu {

TempFolderSecurity::TempFolderSecurity() : administrators_(WellKnown::Administrators) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    system_.reset(advapi::allocate_and_initialize_sid(nt, 1, SECURITY_LOCAL_SYSTEM_RID));
    const DWORD entryBase = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD);
    const DWORD length = sizeof(ACL) + 2 * entryBase + administrators_.length() + advapi::get_length_sid(system_.get());
    acl_ = allocate_zeroed(length);
    advapi::initialize_acl(acl(), length, ACL_REVISION);
    const DWORD inherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    advapi::add_inheritable_access_allowed_ace(acl(), inherit, FILE_ALL_ACCESS, administrators_.get());
    advapi::add_inheritable_access_allowed_ace(acl(), inherit, FILE_ALL_ACCESS, system_.get());
    descriptor_ = new_security_descriptor();
    advapi::set_security_descriptor_dacl(descriptor(), true, acl(), false);
    // Protected: the user's temporary folder above is the user's to change.
    advapi::set_security_descriptor_control(descriptor(), SE_DACL_PROTECTED, SE_DACL_PROTECTED);
}

TempFolderPathResult MakeTempFolderPath() {
    wchar_t buffer[MAX_PATH] = {};
    // A successful call leaves the thread's error as it was; a clean slate keeps the failure
    // text of a too long folder from naming some earlier, unrelated error.
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetTempPathW(MAX_PATH, buffer);
    const DWORD error = ::GetLastError();
    buffer[MAX_PATH - 1] = L'\0';
    return TempFolderPathFrom(length, buffer, error, RandomUuidText());
}

TempFolderPathResult CreateTempFolder(const std::wstring& path) {
    try {
        const TempFolderSecurity security;
        SECURITY_ATTRIBUTES attributes{sizeof attributes, security.descriptor(), FALSE};
        // CreateDirectoryW fails with ERROR_ALREADY_EXISTS for anything at the path, a junction
        // or link included, and never follows one there.
        if (!::CreateDirectoryW(path.c_str(), &attributes))
            return {false, TempFolderFailureText(::GetLastError(), L"CreateDirectory")};
    } catch (security_error error) {
        return {false, TempFolderFailureText(error, L"CreateDirectory")};
    }
    return {true, path};
}

}  // namespace zu
