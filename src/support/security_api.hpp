// The Win32 security layer: one wrapper per advapi32 function the installer needs.
//
// Each wrapper finds its function by name in advapi32.dll on first use and keeps the address
// for the life of the process (a function that could not be found is looked for again next
// time). Every failure is thrown as a 32-bit error code (security_error):
//   advapi32.dll cannot be found or loaded       0x8000FFFF (E_UNEXPECTED)
//   the function is not exported                 0x80004001 (E_NOTIMPL)
//   the call reports failure                     0x80070000 + (GetLastError() & 0xFFFF);
//                                                a last error that already is a failure
//                                                HRESULT is thrown unchanged, and one of 0
//                                                as E_FAIL (so that a failure never reads
//                                                as success further up)
//   an invalid SID given to EqualSid/GetLengthSid 0x80070057 (E_INVALIDARG)
//   no memory for a SID, list or descriptor       0x8007000E (E_OUTOFMEMORY)
// The yes/no questions (IsValidSid, EqualSid, IsValidSecurityDescriptor, CheckTokenMembership,
// AccessCheck's verdict) answer with a bool instead of throwing for "no".
//
// Windows build only. Not thread-safe on first use of a wrapper; the installer calls the
// layer from its user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"

namespace zu {

// The type of every error code the security and named-object layers throw.
using security_error = std::uint32_t;

constexpr security_error kErrorUnexpected = 0x8000FFFFu;
constexpr security_error kErrorNotImplemented = 0x80004001u;
constexpr security_error kErrorFail = 0x80004005u;
constexpr security_error kErrorInvalidArgument = 0x80070057u;
constexpr security_error kErrorOutOfMemory = 0x8007000Eu;

// The code thrown for a Windows error number (see the table above).
security_error error_from_win32(DWORD lastError) noexcept;

// Throws error_from_win32(GetLastError()).
[[noreturn]] void throw_last_error();

// A block of zeroed memory for a SID, an access list or a descriptor (LocalAlloc, LPTR);
// throws kErrorOutOfMemory.
unique_local_memory allocate_zeroed(std::size_t bytes);

namespace advapi {

// The address of an advapi32 export; throws kErrorUnexpected when the library cannot be had,
// kErrorNotImplemented when it does not export the name. The library is taken from the
// process when already loaded, else loaded from the system folder.
FARPROC resolve(const char* functionName);

unique_handle open_process_token(HANDLE process, DWORD desiredAccess);
unique_handle open_thread_token(HANDLE thread, DWORD desiredAccess, bool openAsSelf);
// Returns the bytes written (or needed).
DWORD get_token_information(HANDLE token, TOKEN_INFORMATION_CLASS infoClass, void* buffer,
                            DWORD bufferSize);
LUID lookup_privilege_value(const wchar_t* systemName, const wchar_t* privilegeName);
// Fails (ERROR_NOT_ALL_ASSIGNED) also when the call succeeds but the token lacks a privilege.
void adjust_token_privileges(HANDLE token, bool disableAll, TOKEN_PRIVILEGES* newState,
                             DWORD previousStateLength, TOKEN_PRIVILEGES* previousState,
                             DWORD* returnLength);

// The SID is to be released with free_sid (see sid_traits).
PSID allocate_and_initialize_sid(const SID_IDENTIFIER_AUTHORITY& authority, BYTE count,
                                 DWORD sub0, DWORD sub1 = 0, DWORD sub2 = 0, DWORD sub3 = 0,
                                 DWORD sub4 = 0, DWORD sub5 = 0, DWORD sub6 = 0, DWORD sub7 = 0);
void copy_sid(DWORD destinationLength, PSID destination, PSID source);
bool is_valid_sid(PSID sid);
DWORD get_length_sid(PSID sid);
bool equal_sid(PSID first, PSID second);
void free_sid(PSID sid);
void lookup_account_name(const wchar_t* systemName, const wchar_t* accountName, PSID sid,
                         DWORD* sidSize, wchar_t* domain, DWORD* domainSize, SID_NAME_USE* use);

void* get_ace(PACL acl, DWORD index);
void add_ace(PACL acl, DWORD revision, DWORD startIndex, void* aceList, DWORD listLength);
void add_access_allowed_ace(PACL acl, DWORD revision, DWORD accessMask, PSID sid);
// Adds the entry through AddAccessAllowedAce at ACL_REVISION: the entry carries no flags.
void add_access_allowed_ace_ex(PACL acl, DWORD revision, DWORD aceFlags, DWORD accessMask,
                               PSID sid);
// AddAccessAllowedAceEx at ACL_REVISION, with the entry flags as given (for the folders the
// installer makes its own, whose entries must pass to what is placed inside).
void add_inheritable_access_allowed_ace(PACL acl, DWORD aceFlags, DWORD accessMask, PSID sid);
void initialize_acl(PACL acl, DWORD length, DWORD revision);
void get_acl_information(PACL acl, void* information, DWORD length, ACL_INFORMATION_CLASS infoClass);

struct descriptor_dacl {
    bool present = false;
    PACL acl = nullptr;
    bool defaulted = false;
};
struct descriptor_control {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
};

void initialize_security_descriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision);
descriptor_dacl get_security_descriptor_dacl(PSECURITY_DESCRIPTOR descriptor);
void set_security_descriptor_dacl(PSECURITY_DESCRIPTOR descriptor, bool present, PACL acl,
                                  bool defaulted);
void set_security_descriptor_group(PSECURITY_DESCRIPTOR descriptor, PSID group, bool defaulted);
void set_security_descriptor_owner(PSECURITY_DESCRIPTOR descriptor, PSID owner, bool defaulted);
descriptor_control get_security_descriptor_control(PSECURITY_DESCRIPTOR descriptor);
void set_security_descriptor_control(PSECURITY_DESCRIPTOR descriptor,
                                     SECURITY_DESCRIPTOR_CONTROL bitsOfInterest,
                                     SECURITY_DESCRIPTOR_CONTROL bitsToSet);
bool is_valid_security_descriptor(PSECURITY_DESCRIPTOR descriptor);

// Null token: the caller's effective token.
bool check_token_membership(HANDLE token, PSID sid);
// True when the access was granted; *grantedAccess receives the granted rights.
bool access_check(PSECURITY_DESCRIPTOR descriptor, HANDLE clientToken, DWORD desiredAccess,
                  GENERIC_MAPPING* mapping, PRIVILEGE_SET* privileges, DWORD* privilegesLength,
                  DWORD* grantedAccess);

// Returns the length of the descriptor (written or needed). With no buffer (null, length 0)
// this is the size query, for which ERROR_INSUFFICIENT_BUFFER is the expected answer.
DWORD get_file_security(const wchar_t* path, SECURITY_INFORMATION requested,
                        PSECURITY_DESCRIPTOR descriptor, DWORD length);
void set_file_security(const wchar_t* path, SECURITY_INFORMATION information,
                       PSECURITY_DESCRIPTOR descriptor);

void impersonate_self(SECURITY_IMPERSONATION_LEVEL level);
void revert_to_self();

}  // namespace advapi

// A SID from AllocateAndInitializeSid, released with FreeSid.
struct allocated_sid_traits {
    using value_type = PSID;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type sid) noexcept;
};
using unique_allocated_sid = unique_resource<allocated_sid_traits>;

}  // namespace zu
