#include "support/security_api.hpp"

#include <string>

namespace zu {

security_error error_from_win32(DWORD lastError) noexcept {
    if (lastError == 0) return kErrorFail;
    if (static_cast<std::int32_t>(lastError) < 0) return lastError;
    return 0x80070000u | (lastError & 0xFFFFu);
}

void throw_last_error() {
    throw security_error{error_from_win32(::GetLastError())};
}

unique_local_memory allocate_zeroed(std::size_t bytes) {
    unique_local_memory block(::LocalAlloc(LPTR, bytes));
    if (!block) throw security_error{kErrorOutOfMemory};
    return block;
}

void allocated_sid_traits::close(value_type sid) noexcept {
    try {
        advapi::free_sid(sid);
    } catch (security_error) {
        // Nothing to do about a SID the system would not take back.
    }
}

namespace advapi {
namespace {

HMODULE advapi32_module() {
    static HMODULE module = nullptr;
    if (module) return module;
    HMODULE found = ::GetModuleHandleW(L"advapi32.dll");
    if (!found) {
        // Only from the system folder: a copy beside the installer must never be picked up.
        wchar_t folder[MAX_PATH];
        UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) throw security_error{kErrorUnexpected};
        std::wstring path(folder, length);
        path += L"\\advapi32.dll";
        found = ::LoadLibraryW(path.c_str());
    }
    if (!found) throw security_error{kErrorUnexpected};
    module = found;  // kept loaded for the rest of the process
    return module;
}

// Resolves the slot's function on first use; a failed look-up leaves the slot empty.
template <class Function>
Function bind(Function& slot, const char* name) {
    if (!slot) slot = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(resolve(name)));
    return slot;
}

void check(BOOL ok) {
    if (!ok) throw_last_error();
}

}  // namespace

FARPROC resolve(const char* functionName) {
    FARPROC address = ::GetProcAddress(advapi32_module(), functionName);
    if (!address) throw security_error{kErrorNotImplemented};
    return address;
}

unique_handle open_process_token(HANDLE process, DWORD desiredAccess) {
    static decltype(&::OpenProcessToken) fn;
    HANDLE token = nullptr;
    check(bind(fn, "OpenProcessToken")(process, desiredAccess, &token));
    return unique_handle(token);
}

unique_handle open_thread_token(HANDLE thread, DWORD desiredAccess, bool openAsSelf) {
    static decltype(&::OpenThreadToken) fn;
    HANDLE token = nullptr;
    check(bind(fn, "OpenThreadToken")(thread, desiredAccess, openAsSelf, &token));
    return unique_handle(token);
}

DWORD get_token_information(HANDLE token, TOKEN_INFORMATION_CLASS infoClass, void* buffer,
                            DWORD bufferSize) {
    static decltype(&::GetTokenInformation) fn;
    DWORD returned = 0;
    check(bind(fn, "GetTokenInformation")(token, infoClass, buffer, bufferSize, &returned));
    return returned;
}

LUID lookup_privilege_value(const wchar_t* systemName, const wchar_t* privilegeName) {
    static decltype(&::LookupPrivilegeValueW) fn;
    LUID luid{};
    check(bind(fn, "LookupPrivilegeValueW")(systemName, privilegeName, &luid));
    return luid;
}

void adjust_token_privileges(HANDLE token, bool disableAll, TOKEN_PRIVILEGES* newState,
                             DWORD previousStateLength, TOKEN_PRIVILEGES* previousState,
                             DWORD* returnLength) {
    static decltype(&::AdjustTokenPrivileges) fn;
    auto adjust = bind(fn, "AdjustTokenPrivileges");
    check(adjust(token, disableAll, newState, previousStateLength, previousState, returnLength));
    // Success with ERROR_NOT_ALL_ASSIGNED: the token does not hold the privilege.
    DWORD error = ::GetLastError();
    if (error != 0) throw security_error{error_from_win32(error)};
}

PSID allocate_and_initialize_sid(const SID_IDENTIFIER_AUTHORITY& authority, BYTE count,
                                 DWORD sub0, DWORD sub1, DWORD sub2, DWORD sub3, DWORD sub4,
                                 DWORD sub5, DWORD sub6, DWORD sub7) {
    static decltype(&::AllocateAndInitializeSid) fn;
    auto allocate = bind(fn, "AllocateAndInitializeSid");
    SID_IDENTIFIER_AUTHORITY copy = authority;
    PSID sid = nullptr;
    if (!allocate(&copy, count, sub0, sub1, sub2, sub3, sub4, sub5, sub6, sub7, &sid)) {
        DWORD error = ::GetLastError();
        throw security_error{error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY
                                 ? kErrorOutOfMemory
                                 : error_from_win32(error)};
    }
    return sid;
}

void copy_sid(DWORD destinationLength, PSID destination, PSID source) {
    static decltype(&::CopySid) fn;
    check(bind(fn, "CopySid")(destinationLength, destination, source));
}

bool is_valid_sid(PSID sid) {
    static decltype(&::IsValidSid) fn;
    auto valid = bind(fn, "IsValidSid");
    return sid != nullptr && valid(sid);
}

DWORD get_length_sid(PSID sid) {
    static decltype(&::GetLengthSid) fn;
    auto length = bind(fn, "GetLengthSid");
    if (!is_valid_sid(sid)) throw security_error{kErrorInvalidArgument};
    return length(sid);
}

bool equal_sid(PSID first, PSID second) {
    static decltype(&::EqualSid) fn;
    auto equal = bind(fn, "EqualSid");
    if (!is_valid_sid(first) || !is_valid_sid(second)) throw security_error{kErrorInvalidArgument};
    return equal(first, second) != FALSE;
}

void free_sid(PSID sid) {
    static decltype(&::FreeSid) fn;
    // FreeSid answers null on success and the SID itself on failure.
    if (bind(fn, "FreeSid")(sid) != nullptr) throw_last_error();
}

void lookup_account_name(const wchar_t* systemName, const wchar_t* accountName, PSID sid,
                         DWORD* sidSize, wchar_t* domain, DWORD* domainSize, SID_NAME_USE* use) {
    static decltype(&::LookupAccountNameW) fn;
    check(bind(fn, "LookupAccountNameW")(systemName, accountName, sid, sidSize, domain, domainSize, use));
}

void* get_ace(PACL acl, DWORD index) {
    static decltype(&::GetAce) fn;
    void* ace = nullptr;
    check(bind(fn, "GetAce")(acl, index, &ace));
    return ace;
}

void add_ace(PACL acl, DWORD revision, DWORD startIndex, void* aceList, DWORD listLength) {
    static decltype(&::AddAce) fn;
    check(bind(fn, "AddAce")(acl, revision, startIndex, aceList, listLength));
}

void add_access_allowed_ace(PACL acl, DWORD revision, DWORD accessMask, PSID sid) {
    static decltype(&::AddAccessAllowedAce) fn;
    check(bind(fn, "AddAccessAllowedAce")(acl, revision, accessMask, sid));
}

void add_access_allowed_ace_ex(PACL acl, DWORD /*revision*/, DWORD /*aceFlags*/,
                               DWORD accessMask, PSID sid) {
    // Entries of this installer never carry inheritance flags.
    add_access_allowed_ace(acl, ACL_REVISION, accessMask, sid);
}

void add_inheritable_access_allowed_ace(PACL acl, DWORD aceFlags, DWORD accessMask, PSID sid) {
    static decltype(&::AddAccessAllowedAceEx) fn;
    check(bind(fn, "AddAccessAllowedAceEx")(acl, ACL_REVISION, aceFlags, accessMask, sid));
}

void initialize_acl(PACL acl, DWORD length, DWORD revision) {
    static decltype(&::InitializeAcl) fn;
    check(bind(fn, "InitializeAcl")(acl, length, revision));
}

void get_acl_information(PACL acl, void* information, DWORD length, ACL_INFORMATION_CLASS infoClass) {
    static decltype(&::GetAclInformation) fn;
    check(bind(fn, "GetAclInformation")(acl, information, length, infoClass));
}

void initialize_security_descriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision) {
    static decltype(&::InitializeSecurityDescriptor) fn;
    check(bind(fn, "InitializeSecurityDescriptor")(descriptor, revision));
}

descriptor_dacl get_security_descriptor_dacl(PSECURITY_DESCRIPTOR descriptor) {
    static decltype(&::GetSecurityDescriptorDacl) fn;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL acl = nullptr;
    check(bind(fn, "GetSecurityDescriptorDacl")(descriptor, &present, &acl, &defaulted));
    return {present != FALSE, acl, defaulted != FALSE};
}

void set_security_descriptor_dacl(PSECURITY_DESCRIPTOR descriptor, bool present, PACL acl,
                                  bool defaulted) {
    static decltype(&::SetSecurityDescriptorDacl) fn;
    check(bind(fn, "SetSecurityDescriptorDacl")(descriptor, present, acl, defaulted));
}

void set_security_descriptor_group(PSECURITY_DESCRIPTOR descriptor, PSID group, bool defaulted) {
    static decltype(&::SetSecurityDescriptorGroup) fn;
    check(bind(fn, "SetSecurityDescriptorGroup")(descriptor, group, defaulted));
}

void set_security_descriptor_owner(PSECURITY_DESCRIPTOR descriptor, PSID owner, bool defaulted) {
    static decltype(&::SetSecurityDescriptorOwner) fn;
    check(bind(fn, "SetSecurityDescriptorOwner")(descriptor, owner, defaulted));
}

descriptor_control get_security_descriptor_control(PSECURITY_DESCRIPTOR descriptor) {
    static decltype(&::GetSecurityDescriptorControl) fn;
    descriptor_control result;
    check(bind(fn, "GetSecurityDescriptorControl")(descriptor, &result.control, &result.revision));
    return result;
}

void set_security_descriptor_control(PSECURITY_DESCRIPTOR descriptor,
                                     SECURITY_DESCRIPTOR_CONTROL bitsOfInterest,
                                     SECURITY_DESCRIPTOR_CONTROL bitsToSet) {
    static decltype(&::SetSecurityDescriptorControl) fn;
    check(bind(fn, "SetSecurityDescriptorControl")(descriptor, bitsOfInterest, bitsToSet));
}

bool is_valid_security_descriptor(PSECURITY_DESCRIPTOR descriptor) {
    static decltype(&::IsValidSecurityDescriptor) fn;
    auto valid = bind(fn, "IsValidSecurityDescriptor");
    return descriptor != nullptr && valid(descriptor);
}

bool check_token_membership(HANDLE token, PSID sid) {
    static decltype(&::CheckTokenMembership) fn;
    BOOL member = FALSE;
    check(bind(fn, "CheckTokenMembership")(token, sid, &member));
    return member != FALSE;
}

bool access_check(PSECURITY_DESCRIPTOR descriptor, HANDLE clientToken, DWORD desiredAccess,
                  GENERIC_MAPPING* mapping, PRIVILEGE_SET* privileges, DWORD* privilegesLength,
                  DWORD* grantedAccess) {
    static decltype(&::AccessCheck) fn;
    BOOL status = FALSE;
    check(bind(fn, "AccessCheck")(descriptor, clientToken, desiredAccess, mapping, privileges,
                                  privilegesLength, grantedAccess, &status));
    return status != FALSE;
}

DWORD get_file_security(const wchar_t* path, SECURITY_INFORMATION requested,
                        PSECURITY_DESCRIPTOR descriptor, DWORD length) {
    static decltype(&::GetFileSecurityW) fn;
    DWORD needed = 0;
    if (!bind(fn, "GetFileSecurityW")(path, requested, descriptor, length, &needed)) {
        DWORD error = ::GetLastError();
        bool sizeQuery = descriptor == nullptr && length == 0;
        if (!(sizeQuery && error == ERROR_INSUFFICIENT_BUFFER)) throw security_error{error_from_win32(error)};
    }
    return needed;
}

void set_file_security(const wchar_t* path, SECURITY_INFORMATION information,
                       PSECURITY_DESCRIPTOR descriptor) {
    static decltype(&::SetFileSecurityW) fn;
    check(bind(fn, "SetFileSecurityW")(path, information, descriptor));
}

void impersonate_self(SECURITY_IMPERSONATION_LEVEL level) {
    static decltype(&::ImpersonateSelf) fn;
    check(bind(fn, "ImpersonateSelf")(level));
}

void revert_to_self() {
    static decltype(&::RevertToSelf) fn;
    check(bind(fn, "RevertToSelf")());
}

}  // namespace advapi
}  // namespace zu
