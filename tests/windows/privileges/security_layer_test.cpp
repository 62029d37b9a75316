#include "support/security_api.hpp"
#include "support/security_objects.hpp"

#include "system/administrator_checks.hpp"
#include "system/privileges.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "security_test_support.hpp"

namespace {

// The code a call throws, or 0 when it throws nothing.
zu::security_error thrown_by(const std::function<void()>& call) {
    try {
        call();
    } catch (zu::security_error error) {
        return error;
    }
    return 0;
}

std::wstring process_user_sid() {
    HANDLE raw = nullptr;
    ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw);
    zu::unique_handle token(raw);
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD length = 0;
    if (!::GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &length)) return L"";
    return sectest::sid_text(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

}  // namespace

TEST(SecurityLayer, WindowsErrorsBecomeHresults) {
    struct Case {
        DWORD lastError;
        zu::security_error thrown;
    } cases[] = {
        {ERROR_ACCESS_DENIED, 0x80070005u},
        {ERROR_NOT_ALL_ASSIGNED, 0x80070514u},
        {0x00012345u, 0x80072345u},       // only the low 16 bits are kept
        {0x80070057u, 0x80070057u},       // already an HRESULT: unchanged
        {0xC0000022u, 0xC0000022u},
        {0, zu::kErrorFail},              // a failure never reads as success
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zu::error_from_win32(c.lastError), c.thrown) << std::hex << c.lastError;
        ::SetLastError(c.lastError);
        EXPECT_EQ(thrown_by([] { zu::throw_last_error(); }), c.thrown) << std::hex << c.lastError;
    }
}

TEST(SecurityLayer, MissingExportIsNotImplementedAndPresentOnesResolveOnce) {
    EXPECT_EQ(thrown_by([] { zu::advapi::resolve("ZuNoSuchSecurityFunction"); }), zu::kErrorNotImplemented);
    FARPROC first = zu::advapi::resolve("CheckTokenMembership");
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(first, reinterpret_cast<FARPROC>(::GetProcAddress(::GetModuleHandleW(L"advapi32.dll"),
                                                                "CheckTokenMembership")));
}

TEST(SecurityLayer, FailingCallsThrowTheirErrorAndQuestionsAnswerBool) {
    // A path that does not exist, through the size query and the real read.
    zu::security_error missing = thrown_by([] {
        zu::advapi::get_file_security(L"C:\\zu-no-such-folder\\file.txt", DACL_SECURITY_INFORMATION, nullptr, 0);
    });
    EXPECT_TRUE(missing == 0x80070002u || missing == 0x80070003u) << std::hex << missing;
    // The size query of an existing file is not a failure.
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    DWORD needed = 0;
    EXPECT_EQ(thrown_by([&] { needed = zu::advapi::get_file_security(system, DACL_SECURITY_INFORMATION, nullptr, 0); }),
              0u);
    EXPECT_GT(needed, 0u);

    // No thread token without impersonation.
    EXPECT_EQ(thrown_by([] { zu::advapi::open_thread_token(::GetCurrentThread(), TOKEN_QUERY, false); }),
              0x800703F0u);
    EXPECT_EQ(thrown_by([] { zu::advapi::lookup_privilege_value(nullptr, L"SeNoSuchPrivilege"); }), 0x80070521u);

    BYTE garbage[16] = {9, 200, 1, 2, 3};
    EXPECT_FALSE(zu::advapi::is_valid_sid(garbage));
    EXPECT_FALSE(zu::advapi::is_valid_sid(nullptr));
    EXPECT_FALSE(zu::advapi::is_valid_security_descriptor(garbage));
    zu::WellKnownSid everyone(zu::WellKnown::Everyone);
    zu::WellKnownSid users(zu::WellKnown::Users);
    EXPECT_EQ(thrown_by([&] { zu::advapi::get_length_sid(garbage); }), zu::kErrorInvalidArgument);
    EXPECT_EQ(thrown_by([&] { zu::advapi::equal_sid(everyone.get(), garbage); }), zu::kErrorInvalidArgument);
    EXPECT_EQ(thrown_by([&] { zu::advapi::equal_sid(nullptr, everyone.get()); }), zu::kErrorInvalidArgument);
    EXPECT_EQ(thrown_by([&] { zu::SingleEntryAcl acl(garbage, 1); }), zu::kErrorInvalidArgument);
    EXPECT_FALSE(zu::advapi::equal_sid(everyone.get(), users.get()));
    EXPECT_TRUE(zu::advapi::equal_sid(users.get(), users.get()));
}

TEST(SecurityLayer, AdjustingAPrivilegeTheTokenLacksFails) {
    zu::unique_handle token =
        zu::advapi::open_process_token(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
    // A LUID no privilege has is never held: the call succeeds with ERROR_NOT_ALL_ASSIGNED.
    TOKEN_PRIVILEGES request{1, {{{0x7FFF0000u, 0}, SE_PRIVILEGE_ENABLED}}};
    EXPECT_EQ(thrown_by([&] { zu::advapi::adjust_token_privileges(token.get(), false, &request, 0, nullptr, nullptr); }),
              0x80070514u);
    // A privilege the token holds is adjusted without complaint.
    TOKEN_PRIVILEGES held{1, {{zu::advapi::lookup_privilege_value(nullptr, L"SeChangeNotifyPrivilege"), SE_PRIVILEGE_ENABLED}}};
    EXPECT_EQ(thrown_by([&] { zu::advapi::adjust_token_privileges(token.get(), false, &held, 0, nullptr, nullptr); }), 0u);
}

TEST(WellKnownSids, EveryKindIsTheRightSid) {
    EXPECT_EQ(sectest::sid_text(zu::WellKnownSid(0).get()), L"S-1-1-0");
    EXPECT_EQ(sectest::sid_text(zu::WellKnownSid(1).get()), L"S-1-5-32-544");
    EXPECT_EQ(sectest::sid_text(zu::WellKnownSid(2).get()), L"S-1-5-32-545");
    EXPECT_EQ(sectest::sid_text(zu::WellKnownSid(3).get()), L"S-1-5-11");
    EXPECT_EQ(zu::WellKnownSid(0).length(), 12u);
    EXPECT_EQ(zu::WellKnownSid(2).length(), 16u);

    // The account of the user name is the process's own user.
    EXPECT_EQ(sectest::sid_text(zu::WellKnownSid(4).get()), process_user_sid());

    // The thread's user exists only while the thread impersonates.
    EXPECT_EQ(thrown_by([] { zu::WellKnownSid sid(5); }), 0x800703F0u);
    ASSERT_TRUE(::ImpersonateSelf(SecurityImpersonation));
    std::wstring threadUser = sectest::sid_text(zu::WellKnownSid(5).get());
    ::RevertToSelf();
    EXPECT_EQ(threadUser, process_user_sid());

    EXPECT_EQ(thrown_by([] { zu::WellKnownSid sid(6); }), zu::kErrorInvalidArgument);
    EXPECT_EQ(thrown_by([] { zu::WellKnownSid sid(-1); }), zu::kErrorInvalidArgument);
}

TEST(SingleEntryAcls, ExactSizeOneEntryNoFlags) {
    for (int which : {0, 2}) {
        zu::WellKnownSid sid(which);
        for (DWORD mask : {DWORD{0x1F0001}, DWORD{0x1F0003}, DWORD{3}}) {
            zu::SingleEntryAcl acl(sid.get(), mask);
            ASSERT_TRUE(::IsValidAcl(acl.get()));
            EXPECT_EQ(acl.get()->AclRevision, ACL_REVISION);
            EXPECT_EQ(acl.get()->AclSize, 16u + ::GetLengthSid(sid.get()));
            ACL_SIZE_INFORMATION info{};
            ::GetAclInformation(acl.get(), &info, sizeof info, AclSizeInformation);
            EXPECT_EQ(info.AclBytesFree, 0u);
            EXPECT_EQ(sectest::read_acl(acl.get()),
                      (std::vector<sectest::Entry>{{sectest::sid_text(sid.get()), mask, 0}}));
        }
    }
}

TEST(SecurityLayer, AllowedEntryWithFlagsIsAddedWithoutThem) {
    zu::WellKnownSid users(zu::WellKnown::Users);
    std::vector<BYTE> acl(64);
    zu::advapi::initialize_acl(reinterpret_cast<PACL>(acl.data()), 64, ACL_REVISION);
    zu::advapi::add_access_allowed_ace_ex(reinterpret_cast<PACL>(acl.data()), ACL_REVISION_DS,
                                          OBJECT_INHERIT_ACE | INHERITED_ACE, 0x120089, users.get());
    EXPECT_EQ(sectest::read_acl(reinterpret_cast<PACL>(acl.data())),
              (std::vector<sectest::Entry>{{L"S-1-5-32-545", 0x120089, 0}}));
}

TEST(SecurityLayer, RepeatedFailuresLeakNoHandles) {
    auto failures = [] {
        for (int i = 0; i < 200; ++i) {
            zu::WellKnownSid users(zu::WellKnown::Users);
            thrown_by([] { zu::WellKnownSid sid(5); });
            // Each of these opens a token or reads a descriptor before it fails or finishes.
            EXPECT_FALSE(zu::SetPrivilege(L"SeNoSuchPrivilege", true));
            EXPECT_FALSE(zu::GrantUsersAccess(L"C:\\zu-no-such\\x", zu::kUsersModifyAccess));
            EXPECT_TRUE(zu::AdministratorByAccessCheck());
        }
    };
    failures();  // first use may load or cache things
    DWORD before = 0, after = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &before));
    failures();
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &after));
    EXPECT_EQ(after, before);
}
