#include "support/security_objects.hpp"
#include "system/administrator_checks.hpp"
#include "system/privileges.hpp"

#include <gtest/gtest.h>

#include <optional>
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
