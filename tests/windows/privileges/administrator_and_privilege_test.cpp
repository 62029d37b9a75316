#include "support/security_objects.hpp"
#include "system/administrator_checks.hpp"
#include "system/privileges.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "common/child_process.hpp"
#include <vector>

namespace {

// The privilege's attributes in the process token, or none when the token does not hold it.
std::optional<DWORD> privilege_attributes(const wchar_t* name) {
    LUID luid{};
    if (!::LookupPrivilegeValueW(nullptr, name, &luid)) return std::nullopt;
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return std::nullopt;
    zu::unique_handle token(raw);
    DWORD needed = 0;
    ::GetTokenInformation(token.get(), TokenPrivileges, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (!::GetTokenInformation(token.get(), TokenPrivileges, buffer.data(), needed, &needed)) return std::nullopt;
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID& held = privileges->Privileges[i].Luid;
        if (held.LowPart == luid.LowPart && held.HighPart == luid.HighPart) return privileges->Privileges[i].Attributes;
    }
    return std::nullopt;
}

bool enabled(const wchar_t* name) {
    auto attributes = privilege_attributes(name);
    return attributes && (*attributes & SE_PRIVILEGE_ENABLED);
}

// Puts a privilege back the way the test found it.
class PrivilegeRestorer {
public:
    explicit PrivilegeRestorer(const wchar_t* name) : name_(name), wasEnabled_(enabled(name)) {}
    ~PrivilegeRestorer() { zu::SetPrivilege(name_, wasEnabled_); }

private:
    const wchar_t* name_;
    bool wasEnabled_;
};

}  // namespace

TEST(Administrator, ElevatedPrefixUserIsAdministratorByBothTests) {
    EXPECT_TRUE(zu::IsAdministrator());
    EXPECT_TRUE(zu::AdministratorByTokenMembership());
    EXPECT_TRUE(zu::AdministratorByAccessCheck());
    // The fallback must leave the thread on the process token.
    HANDLE token = nullptr;
    EXPECT_FALSE(::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, FALSE, &token));
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_NO_TOKEN});
}

TEST(Administrator, TokenWithAdministratorsDenyOnlyIsNotAdministrator) {
    // A standard user's view: the process token with BUILTIN\Administrators made deny-only,
    // worn by this thread. The membership test asks the thread's effective token.
    HANDLE raw = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_IMPERSONATE, &raw));
    zu::unique_handle processToken(raw);
    zu::WellKnownSid administrators(zu::WellKnown::Administrators);
    SID_AND_ATTRIBUTES disabled{administrators.get(), 0};
    HANDLE restrictedRaw = nullptr;
    if (!::CreateRestrictedToken(processToken.get(), 0, 1, &disabled, 0, nullptr, 0, nullptr, &restrictedRaw))
        GTEST_SKIP() << "CreateRestrictedToken is not available here (error " << ::GetLastError() << ")";
    zu::unique_handle restricted(restrictedRaw);
    HANDLE impersonationRaw = nullptr;
    ASSERT_TRUE(::DuplicateTokenEx(restricted.get(), TOKEN_QUERY | TOKEN_IMPERSONATE, nullptr, SecurityImpersonation,
                                   TokenImpersonation, &impersonationRaw));
    zu::unique_handle impersonation(impersonationRaw);
    BOOL member = TRUE;
    ASSERT_TRUE(::CheckTokenMembership(impersonation.get(), administrators.get(), &member));
    if (member) GTEST_SKIP() << "this system does not honour deny-only groups in CheckTokenMembership";

    ASSERT_TRUE(::SetThreadToken(nullptr, impersonation.get()));
    const bool byMembership = zu::AdministratorByTokenMembership();
    const bool answer = zu::IsAdministrator();
    ::RevertToSelf();
    EXPECT_FALSE(byMembership);
    EXPECT_FALSE(answer);
    EXPECT_TRUE(zu::IsAdministrator()) << "the process token is unchanged";
}

TEST(Administrator, ProcessWithoutAdministratorsFailsBothTests) {
    const char* helperName = ZU_ADMIN_HELPER;
    const std::wstring helper = testing_support::beside_this_program(std::wstring(helperName, helperName + std::strlen(helperName)));
    {
        testing_support::child_process elevated(helper, {});
        EXPECT_EQ(elevated.wait(), std::optional<DWORD>(8 | 1 | 2 | 4));
    }

    HANDLE raw = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &raw));
    zu::unique_handle processToken(raw);
    zu::WellKnownSid administrators(zu::WellKnown::Administrators);
    SID_AND_ATTRIBUTES disabled{administrators.get(), 0};
    HANDLE restrictedRaw = nullptr;
    ASSERT_TRUE(::CreateRestrictedToken(processToken.get(), 0, 1, &disabled, 0, nullptr, 0, nullptr, &restrictedRaw));
    zu::unique_handle restricted(restrictedRaw);

    std::wstring commandLine = L"\"" + helper + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessAsUserW(restricted.get(), helper.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                nullptr, nullptr, &startup, &info))
        GTEST_SKIP() << "no process can be started with another token here (error " << ::GetLastError() << ")";
    zu::unique_handle process(info.hProcess);
    ::CloseHandle(info.hThread);
    ASSERT_EQ(::WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    if (code == (8 | 1 | 2 | 4)) GTEST_SKIP() << "this system started the process with the caller's own token";
    EXPECT_EQ(code, 8u) << "IsAdministrator, membership, access check: " << (code & 1) << (code & 2) << (code & 4);
}

TEST(Privilege, BackupPrivilegeSwitchesOnAndOffAndIsRestored) {
    const wchar_t* name = L"SeBackupPrivilege";
    ASSERT_TRUE(privilege_attributes(name)) << "the prefix's token should hold SeBackupPrivilege";
    const DWORD before = *privilege_attributes(name);
    {
        PrivilegeRestorer restorer(name);
        for (bool state : {true, false, true, true, false, false}) {
            EXPECT_TRUE(zu::SetPrivilege(name, state)) << "state " << state;
            EXPECT_EQ(enabled(name), state) << "state " << state;
        }
    }
    EXPECT_EQ(*privilege_attributes(name), before);
}

TEST(Privilege, UnknownOrMissingPrivilegeFailsAndChangesNothing) {
    EXPECT_FALSE(zu::SetPrivilege(L"SeNoSuchPrivilege", true));
    EXPECT_FALSE(zu::SetPrivilege(L"", true));

    // A real privilege that this token does not hold, if the prefix's token lacks any.
    const wchar_t* candidates[] = {L"SeCreateTokenPrivilege", L"SeTcbPrivilege", L"SeRelabelPrivilege",
                                   L"SeTrustedCredManAccessPrivilege", L"SeEnableDelegationPrivilege",
                                   L"SeSyncAgentPrivilege", L"SeMachineAccountPrivilege",
                                   L"SeUnsolicitedInputPrivilege", L"SeDelegateSessionUserImpersonatePrivilege"};
    const wchar_t* lacking = nullptr;
    for (const wchar_t* name : candidates) {
        LUID luid{};
        if (::LookupPrivilegeValueW(nullptr, name, &luid) && !privilege_attributes(name)) {
            lacking = name;
            break;
        }
    }
    if (!lacking) GTEST_SKIP() << "the token holds every candidate privilege";
    EXPECT_FALSE(zu::SetPrivilege(lacking, true));
    EXPECT_FALSE(privilege_attributes(lacking));
}
