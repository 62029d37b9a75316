#include <gtest/gtest.h>

#include "common/wine_paths.hpp"
#include "support/version_info.hpp"

namespace {

const std::wstring kInstaller = zu_test::windows_path_of(ZU_INSTALLER_EXE);
const std::wstring kFixture = zu_test::windows_path_of(ZU_VERSION_FIXTURE);

TEST(VersionInfo, InstallerReadsItsOwnNameAndNotice) {
    zu::VersionInfo info;
    info.items = zu::VersionInfo::FullName | zu::VersionInfo::LegalCopyright;
    ASSERT_TRUE(info.Read(kInstaller.c_str()));
    EXPECT_EQ(info.fullName, L"Install 2.02");
    EXPECT_EQ(info.legalCopyright, L"Copyright \u00A9 2026 Quillon. All rights reserved.");
    EXPECT_EQ(info.fileVersion, 0u);  // not asked for
    EXPECT_TRUE(info.productName.empty());
}

TEST(VersionInfo, EveryItemOfTheInstaller) {
    zu::VersionInfo info;
    ASSERT_TRUE(info.Read(kInstaller.c_str()));
    EXPECT_EQ(info.fileVersion, 0x0002000200000003ull);
    EXPECT_EQ(info.productName, L"Install");
    EXPECT_EQ(info.productVersion, L"2.02");
    EXPECT_EQ(info.fileDescription, L"Installeur Mobrix 6.05h");
    EXPECT_EQ(info.fileFlags, 0u);
}

TEST(VersionInfo, MissingDescriptionKeepsTheRestAndFlagsGiveSuffixes) {
    zu::VersionInfo info;
    EXPECT_FALSE(info.Read(kFixture.c_str()));
    EXPECT_EQ(info.fileVersion, 0x0006000500080001ull);
    EXPECT_EQ(info.productName, L"Mobrix");
    EXPECT_EQ(info.productVersion, L"6.05h");
    EXPECT_EQ(info.fullName, L"Mobrix 6.05h \u2013 Private \u2013 Debug");
    EXPECT_EQ(info.fileFlags, 0x09u);
    EXPECT_TRUE(info.fileDescription.empty());
    EXPECT_FALSE(info.legalCopyright.empty());
}

TEST(VersionInfo, FileWithoutResourceGivesFalseAndAResetRecord) {
    zu::VersionInfo info;
    info.fullName = L"stale";
    info.fileVersion = 42;
    info.fileFlags = 7;
    EXPECT_FALSE(info.Read(L"C:\\windows\\win.ini"));
    EXPECT_TRUE(info.fullName.empty());
    EXPECT_EQ(info.fileVersion, 0u);
    EXPECT_EQ(info.fileFlags, 7u);  // only reset when read
    EXPECT_FALSE(info.Read(L"C:\\no\\such\\file.exe"));
}

TEST(VersionInfo, NoPathMeansTheRunningProgram) {
    zu::VersionInfo info;
    info.items = zu::VersionInfo::ProductName;
    EXPECT_TRUE(info.Read());
    EXPECT_EQ(info.productName, L"version test program");
}

}  // namespace
