#include "support/security_objects.hpp"
#include "system/privileges.hpp"
#include "system/users_acl.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "security_test_support.hpp"

using sectest::Entry;

namespace {

const std::wstring kUsers = L"S-1-5-32-545";
const Entry A{L"S-1-1-0", 0x001200A9};
const Entry B{L"S-1-5-32-544", 0x001F01FF};
const Entry OldUsers{kUsers, 0x00120089};
const Entry C{L"S-1-5-11", 0x001301BF, INHERITED_ACE};
const Entry D{L"S-1-5-18", 0x001F01FF, INHERITED_ACE};
const Entry NewUsers{kUsers, zu::kUsersModifyAccess};

std::vector<Entry> grant_in_memory(PACL old) {
    zu::WellKnownSid users(zu::WellKnown::Users);
    zu::unique_local_memory acl = zu::build_users_acl(old, users.get(), zu::kUsersModifyAccess);
    EXPECT_TRUE(::IsValidAcl(static_cast<PACL>(acl.get())));
    EXPECT_EQ(static_cast<PACL>(acl.get())->AclRevision, ACL_REVISION);
    return sectest::read_acl(static_cast<PACL>(acl.get()));
}

class UsersGrantFile : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH];
        ASSERT_NE(::GetTempPathW(MAX_PATH, folder), 0u);
        wchar_t name[MAX_PATH];
        ASSERT_NE(::GetTempFileNameW(folder, L"zug", 0, name), 0u);
        path_ = name;
    }
    void TearDown() override { ::DeleteFileW(path_.c_str()); }

    bool set_dacl(PACL acl) {
        SECURITY_DESCRIPTOR sd;
        ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        ::SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
        return ::SetFileSecurityW(path_.c_str(), DACL_SECURITY_INFORMATION, &sd) != FALSE;
    }

    // The DACL as stored (false when the descriptor could not be read; null DACL: nullopt).
    bool read_dacl(std::vector<Entry>& entries, bool& isNull) {
        DWORD needed = 0;
        ::GetFileSecurityW(path_.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
        std::vector<BYTE> buffer(needed);
        if (!::GetFileSecurityW(path_.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), needed, &needed)) return false;
        BOOL present = FALSE, defaulted = FALSE;
        PACL acl = nullptr;
        ::GetSecurityDescriptorDacl(buffer.data(), &present, &acl, &defaulted);
        isNull = !present || !acl;
        entries = sectest::read_acl(present ? acl : nullptr);
        return true;
    }

    // Wine answers SetFileSecurityW with success but may read back a list made from the Unix
    // permission bits; only a store that gives back what it was given can show the grant.
    bool stored_faithfully(const std::vector<Entry>& written) {
        std::vector<Entry> stored;
        bool isNull = false;
        return read_dacl(stored, isNull) && !isNull && stored == written;
    }

    std::wstring path_;
};

}  // namespace

TEST(UsersAcl, UsersEntryGoesAfterExplicitAndBeforeInheritedReplacingTheOldOne) {
    std::vector<BYTE> old = sectest::make_acl({A, B, OldUsers, C, D});
    std::vector<Entry> expected{A, B, NewUsers, C, D};
    std::vector<Entry> once = grant_in_memory(reinterpret_cast<PACL>(old.data()));
    EXPECT_EQ(once, expected);

    std::vector<BYTE> again = sectest::make_acl(once);
    EXPECT_EQ(grant_in_memory(reinterpret_cast<PACL>(again.data())), expected);
}

TEST(UsersAcl, AbsentOrEmptyListEndsWithTheUsersEntryAlone) {
    EXPECT_EQ(grant_in_memory(nullptr), std::vector<Entry>{NewUsers});
    std::vector<BYTE> empty = sectest::make_acl({});
    EXPECT_EQ(grant_in_memory(reinterpret_cast<PACL>(empty.data())), std::vector<Entry>{NewUsers});
}

TEST(UsersAcl, EveryUsersEntryIsDroppedAndOtherKindsKeepTheirPlace) {
    // A denied entry for users goes too (the grant replaces whatever users had); an entry for
    // another SID that happens to be denied stays; an explicit entry after an inherited one
    // stays behind the inherited one.
    const Entry deniedUsers{kUsers, 0x00010000, 0, ACCESS_DENIED_ACE_TYPE};
    const Entry deniedA{L"S-1-1-0", 0x00040000, 0, ACCESS_DENIED_ACE_TYPE};
    const Entry inheritedUsers{kUsers, 0x001200A9, INHERITED_ACE};
    const Entry lateExplicit{L"S-1-5-32-544", 0x00000001};
    std::vector<BYTE> old = sectest::make_acl({deniedA, deniedUsers, A, C, inheritedUsers, lateExplicit, D});
    EXPECT_EQ(grant_in_memory(reinterpret_cast<PACL>(old.data())),
              (std::vector<Entry>{deniedA, A, NewUsers, C, lateExplicit, D}));
}

TEST_F(UsersGrantFile, GrantOnRealFileKeepsOrderAndReplacesTheUsersEntry) {
    std::vector<BYTE> prepared = sectest::make_acl({A, B, OldUsers, C, D});
    ASSERT_TRUE(set_dacl(reinterpret_cast<PACL>(prepared.data())));
    // The call itself must work on a real file whatever the store keeps.
    EXPECT_TRUE(zu::GrantUsersAccess(path_.c_str(), zu::kUsersModifyAccess));
    ASSERT_TRUE(set_dacl(reinterpret_cast<PACL>(prepared.data())));
    if (!stored_faithfully({A, B, OldUsers, C, D}))
        GTEST_SKIP() << "this system does not store file DACLs faithfully (Wine keeps the Unix "
                        "permission bits); the list building is shown in memory instead";

    ASSERT_TRUE(zu::GrantUsersAccess(path_.c_str(), zu::kUsersModifyAccess));
    std::vector<Entry> stored;
    bool isNull = true;
    ASSERT_TRUE(read_dacl(stored, isNull));
    EXPECT_EQ(stored, (std::vector<Entry>{A, B, NewUsers, C, D}));

    ASSERT_TRUE(zu::GrantUsersAccess(path_.c_str(), zu::kUsersModifyAccess));
    ASSERT_TRUE(read_dacl(stored, isNull));
    EXPECT_EQ(stored, (std::vector<Entry>{A, B, NewUsers, C, D}));
}

TEST_F(UsersGrantFile, GrantOnRealFileWithNullDaclLeavesTheUsersEntryAlone) {
    ASSERT_TRUE(set_dacl(nullptr));
    EXPECT_TRUE(zu::GrantUsersAccess(path_.c_str(), zu::kUsersModifyAccess));
    ASSERT_TRUE(set_dacl(nullptr));
    std::vector<Entry> stored;
    bool isNull = false;
    ASSERT_TRUE(read_dacl(stored, isNull));
    if (!isNull)
        GTEST_SKIP() << "this system does not store a null file DACL (Wine keeps the Unix permission "
                        "bits); the list building is shown in memory instead";

    ASSERT_TRUE(zu::GrantUsersAccess(path_.c_str(), zu::kUsersModifyAccess));
    ASSERT_TRUE(read_dacl(stored, isNull));
    EXPECT_FALSE(isNull);
    EXPECT_EQ(stored, std::vector<Entry>{NewUsers});
}

TEST_F(UsersGrantFile, MissingPathOrBadSidFailsWithoutChangingAnything) {
    const std::wstring missing = path_ + L".missing\\file.dat";
    EXPECT_FALSE(zu::GrantUsersAccess(missing.c_str(), zu::kUsersModifyAccess));
    EXPECT_EQ(::GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(zu::GrantUsersAccess(L"", zu::kUsersModifyAccess));

    // A SID that is not one: the list is not built.
    BYTE garbage[16] = {7, 99};
    std::vector<BYTE> old = sectest::make_acl({A});
    try {
        (void)zu::build_users_acl(reinterpret_cast<PACL>(old.data()), garbage, zu::kUsersModifyAccess);
        ADD_FAILURE() << "an invalid SID was accepted";
    } catch (zu::security_error error) {
        EXPECT_EQ(error, zu::kErrorInvalidArgument);
    }
}
