#include "system/privileges.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

TEST(PrivilegesPosix, UsersGrantOpensTheFileForReadAndWriteOnly) {
    char name[] = "/tmp/zu-grant-XXXXXX";
    int fd = ::mkstemp(name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_EQ(::chmod(name, 0700), 0);
    const std::wstring path(name, name + sizeof name - 1);

    EXPECT_TRUE(zu::GrantUsersAccess(path.c_str(), zu::kUsersModifyAccess));
    struct stat status {};
    ASSERT_EQ(::stat(name, &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0766u);  // the owner's execute bit is left alone

    EXPECT_FALSE(zu::GrantUsersAccess((path + L".missing").c_str(), zu::kUsersModifyAccess));
    EXPECT_FALSE(zu::GrantUsersAccess(L"/tmp", zu::kUsersModifyAccess));  // folders are never changed
    ::unlink(name);
}
