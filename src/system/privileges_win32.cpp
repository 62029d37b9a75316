#include "system/privileges.hpp"

#include <vector>

#include "support/security_objects.hpp"
#include "system/administrator_checks.hpp"
#include "system/users_acl.hpp"
#include "system/users_grant_rule.hpp"

namespace zu {
namespace {

// Reverts the thread to the process token when it goes away.
class self_impersonation {
public:
    self_impersonation() { advapi::impersonate_self(SecurityImpersonation); }
    self_impersonation(const self_impersonation&) = delete;
    self_impersonation& operator=(const self_impersonation&) = delete;
    ~self_impersonation() {
        try {
            advapi::revert_to_self();
        } catch (security_error) {
            // The thread keeps a copy of the process's own token: no rights are gained.
        }
    }
};

bool is_object_ace_type(BYTE type) {
    switch (type) {
    case ACCESS_ALLOWED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case SYSTEM_AUDIT_OBJECT_ACE_TYPE:
    case SYSTEM_ALARM_OBJECT_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
    case SYSTEM_AUDIT_CALLBACK_OBJECT_ACE_TYPE:
    case SYSTEM_ALARM_CALLBACK_OBJECT_ACE_TYPE:
        return true;
    default:
        return false;
    }
}

// Whether the SID that follows the entry's header and mask is users. Object entries keep
// their SID elsewhere, and a SID that does not fit in its entry is nobody's.
bool ace_is_for(const ACE_HEADER* header, PSID users) {
    constexpr WORD sidOffset = sizeof(ACE_HEADER) + sizeof(ACCESS_MASK);
    if (is_object_ace_type(header->AceType) || header->AceSize < sidOffset + 8) return false;
    PSID sid = const_cast<BYTE*>(reinterpret_cast<const BYTE*>(header) + sidOffset);
    if (!advapi::is_valid_sid(sid) || advapi::get_length_sid(sid) > DWORD{header->AceSize} - sidOffset) return false;
    return advapi::equal_sid(sid, users);
}

}  // namespace

bool AdministratorByTokenMembership() {
    WellKnownSid administrators(WellKnown::Administrators);
    return advapi::check_token_membership(nullptr, administrators.get());
}

bool AdministratorByAccessCheck() noexcept {
    try {
        self_impersonation impersonating;
        unique_handle token = advapi::open_thread_token(::GetCurrentThread(), TOKEN_QUERY, false);

        WellKnownSid administrators(WellKnown::Administrators);
        SingleEntryAcl acl(administrators.get(), 3);
        unique_local_memory descriptor = new_security_descriptor();
        advapi::set_security_descriptor_dacl(descriptor.get(), true, acl.get(), false);
        advapi::set_security_descriptor_owner(descriptor.get(), administrators.get(), false);
        advapi::set_security_descriptor_group(descriptor.get(), administrators.get(), false);
        if (!advapi::is_valid_security_descriptor(descriptor.get())) return false;

        GENERIC_MAPPING mapping{1, 2, 0, 3};
        alignas(PRIVILEGE_SET) BYTE privileges[20] = {};
        DWORD privilegesLength = sizeof privileges;
        DWORD granted = 0;
        return advapi::access_check(descriptor.get(), token.get(), 1, &mapping,
                                    reinterpret_cast<PRIVILEGE_SET*>(privileges), &privilegesLength,
                                    &granted);
    } catch (security_error) {
        return false;
    }
}

bool IsAdministrator() {
    try {
        return AdministratorByTokenMembership();
    } catch (security_error) {
        return AdministratorByAccessCheck();
    }
}

bool SetPrivilege(const wchar_t* privilegeName, bool enable) {
    try {
        unique_handle token = advapi::open_process_token(::GetCurrentProcess(),
                                                          TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
        const LUID luid = advapi::lookup_privilege_value(nullptr, privilegeName);

        // The first change only serves to learn the privilege's present attributes.
        TOKEN_PRIVILEGES probe{};
        probe.PrivilegeCount = 1;
        probe.Privileges[0].Luid = luid;
        probe.Privileges[0].Attributes = 0;
        TOKEN_PRIVILEGES previous{};
        DWORD previousLength = 0;
        advapi::adjust_token_privileges(token.get(), false, &probe, sizeof previous, &previous,
                                        &previousLength);

        // An empty previous state means the privilege already was as probed (disabled).
        TOKEN_PRIVILEGES wanted{};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Luid = luid;
        DWORD attributes = previous.PrivilegeCount ? previous.Privileges[0].Attributes : 0;
        wanted.Privileges[0].Attributes =
            enable ? (attributes | SE_PRIVILEGE_ENABLED) : (attributes & ~DWORD{SE_PRIVILEGE_ENABLED});
        advapi::adjust_token_privileges(token.get(), false, &wanted, sizeof wanted, nullptr, nullptr);
        return true;
    } catch (security_error) {
        return false;
    }
}

unique_local_memory build_users_acl(PACL oldDacl, PSID users, DWORD accessMask) {
    ACL_SIZE_INFORMATION oldSize{0, sizeof(ACL), 0};
    if (oldDacl) advapi::get_acl_information(oldDacl, &oldSize, sizeof oldSize, AclSizeInformation);

    std::vector<const ACE_HEADER*> entries;
    std::vector<AceSummary> summaries;
    entries.reserve(oldSize.AceCount);
    summaries.reserve(oldSize.AceCount);
    for (DWORD i = 0; i < oldSize.AceCount; ++i) {
        const auto* header = static_cast<const ACE_HEADER*>(advapi::get_ace(oldDacl, i));
        entries.push_back(header);
        summaries.push_back({(header->AceFlags & INHERITED_ACE) != 0, ace_is_for(header, users)});
    }

    const DWORD size = oldSize.AclBytesInUse + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) +
                       advapi::get_length_sid(users);
    unique_local_memory memory = allocate_zeroed(size);
    PACL acl = static_cast<PACL>(memory.get());
    advapi::initialize_acl(acl, size, ACL_REVISION);
    for (std::ptrdiff_t index : users_grant_order(summaries)) {
        if (index == kNewUsersEntry) {
            advapi::add_access_allowed_ace(acl, ACL_REVISION, accessMask, users);
        } else {
            const ACE_HEADER* entry = entries[static_cast<std::size_t>(index)];
            advapi::add_ace(acl, ACL_REVISION, MAXDWORD, const_cast<ACE_HEADER*>(entry), entry->AceSize);
        }
    }
    return memory;
}

bool GrantUsersAccess(const wchar_t* filePath, std::uint32_t accessMask) {
    try {
        WellKnownSid users(WellKnown::Users);

        const DWORD needed = advapi::get_file_security(filePath, DACL_SECURITY_INFORMATION, nullptr, 0);
        if (needed == 0) throw security_error{kErrorUnexpected};
        unique_local_memory old = allocate_zeroed(needed);
        advapi::get_file_security(filePath, DACL_SECURITY_INFORMATION, old.get(), needed);
        const advapi::descriptor_dacl oldDacl = advapi::get_security_descriptor_dacl(old.get());

        unique_local_memory acl = build_users_acl(oldDacl.present ? oldDacl.acl : nullptr, users.get(), accessMask);
        unique_local_memory descriptor = new_security_descriptor();
        advapi::set_security_descriptor_dacl(descriptor.get(), true, static_cast<PACL>(acl.get()), false);

        try {
            const std::uint16_t bits =
                users_grant_control_bits(advapi::get_security_descriptor_control(old.get()).control);
            if (bits) advapi::set_security_descriptor_control(descriptor.get(), bits, bits);
        } catch (security_error error) {
            // Systems without the control functions keep the list's inheritance as it comes.
            if (error != kErrorNotImplemented) throw;
        }

        advapi::set_file_security(filePath, DACL_SECURITY_INFORMATION, descriptor.get());
        return true;
    } catch (security_error) {
        return false;
    }
}

}  // namespace zu
