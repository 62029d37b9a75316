#include "support/security_objects.hpp"

#include <cstddef>
#include <iterator>

namespace zu {
namespace {

unique_local_memory copy_of(PSID sid) {
    DWORD length = advapi::get_length_sid(sid);
    unique_local_memory copy = allocate_zeroed(length);
    advapi::copy_sid(length, copy.get(), sid);
    return copy;
}

unique_local_memory current_account_sid() {
    wchar_t user[256 + 1];  // UNLEN + 1
    DWORD userLength = static_cast<DWORD>(std::size(user));
    if (!::GetUserNameW(user, &userLength)) throw_last_error();

    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    wchar_t domain[256];
    DWORD domainSize = static_cast<DWORD>(std::size(domain));
    SID_NAME_USE use = SidTypeUnknown;
    advapi::lookup_account_name(nullptr, user, sid, &sidSize, domain, &domainSize, &use);
    // A group or alias of the same name is not the account we were asked for.
    if (use != SidTypeUser) throw security_error{error_from_win32(ERROR_NONE_MAPPED)};
    return copy_of(sid);
}

unique_local_memory thread_user_sid() {
    unique_handle token = advapi::open_thread_token(::GetCurrentThread(), TOKEN_QUERY, false);
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    advapi::get_token_information(token.get(), TokenUser, buffer, sizeof buffer);
    return copy_of(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

}  // namespace

WellKnownSid::WellKnownSid(WellKnown which) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    switch (which) {
    case WellKnown::Everyone:
        allocated_.reset(advapi::allocate_and_initialize_sid(world, 1, SECURITY_WORLD_RID));
        break;
    case WellKnown::Administrators:
        allocated_.reset(advapi::allocate_and_initialize_sid(nt, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                                             DOMAIN_ALIAS_RID_ADMINS));
        break;
    case WellKnown::Users:
        allocated_.reset(advapi::allocate_and_initialize_sid(nt, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                                             DOMAIN_ALIAS_RID_USERS));
        break;
    case WellKnown::AuthenticatedUsers:
        allocated_.reset(advapi::allocate_and_initialize_sid(nt, 1, SECURITY_AUTHENTICATED_USER_RID));
        break;
    case WellKnown::CurrentAccount:
        copied_ = current_account_sid();
        break;
    case WellKnown::ThreadUser:
        copied_ = thread_user_sid();
        break;
    default:
        throw security_error{kErrorInvalidArgument};
    }
}

SingleEntryAcl::SingleEntryAcl(PSID sid, DWORD accessMask) {
    DWORD size = static_cast<DWORD>(sizeof(ACL) + offsetof(ACCESS_ALLOWED_ACE, SidStart)) +
                 advapi::get_length_sid(sid);
    memory_ = allocate_zeroed(size);
    advapi::initialize_acl(get(), size, ACL_REVISION);
    advapi::add_access_allowed_ace(get(), ACL_REVISION, accessMask, sid);
}

unique_local_memory new_security_descriptor() {
    unique_local_memory descriptor = allocate_zeroed(SECURITY_DESCRIPTOR_MIN_LENGTH);
    advapi::initialize_security_descriptor(descriptor.get(), SECURITY_DESCRIPTOR_REVISION);
    return descriptor;
}

}  // namespace zu
