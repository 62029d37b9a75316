// The temporary folder's path from the system's temporary folder, and the shell's quoting rule
// that the "Copying File" lines follow.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <regex>

#include "engine/path_quoting.hpp"
#include "placement_fixture.hpp"
#include "support/wide_path.hpp"
#include "system/temp_folder_path.hpp"
#include "system/temp_folder_security.hpp"

#include <vector>

using namespace zu;
using placement_test::PlacementWinTest;

TEST_F(PlacementWinTest, TempFolderPathIsARandomUuidNameBelowTmp) {
    const TempFolderPathResult first = MakeTempFolderPath(), second = MakeTempFolderPath();
    ASSERT_TRUE(first.ok) << to_utf8(first.text);
    const std::wregex form(L"quillon_\\{[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}\\}");
    ASSERT_EQ(first.text.substr(0, temp_.size() + 1), temp_ + L"\\");
    EXPECT_TRUE(std::regex_match(first.text.substr(temp_.size() + 1), form)) << to_utf8(first.text);
    EXPECT_NE(first.text, second.text);
    EXPECT_FALSE(placement_test::Exists(first.text)) << "only the path is made";
}

TEST_F(PlacementWinTest, TempFolderOver246CharactersFailsWithTheGetTempPathText) {
    std::wstring longFolder = root_;
    while (longFolder.size() < 250) longFolder += L"\\deeper";
    ASSERT_TRUE(::SetEnvironmentVariableW(L"TMP", longFolder.c_str()));
    const TempFolderPathResult made = MakeTempFolderPath();
    EXPECT_FALSE(made.ok);
    EXPECT_EQ(to_utf8(made.text), "00000000 (GetTempPath)");
}

namespace {

std::vector<BYTE> well_known_sid(WELL_KNOWN_SID_TYPE type) {
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    EXPECT_TRUE(::CreateWellKnownSid(type, nullptr, sid.data(), &size));
    return sid;
}

// A junction at `at` to `target`, as mklink /J makes it; false when the file system (Wine's,
// for one) cannot hold one.
constexpr DWORD kSetReparsePoint = 0x000900A4;  // FSCTL_SET_REPARSE_POINT

bool make_junction(const std::wstring& at, const std::wstring& target) {
    if (!::CreateDirectoryW(at.c_str(), nullptr)) return false;
    zu::unique_handle folder(::CreateFileW(at.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const std::wstring substitute = L"\\??\\" + target;
    const WORD substituteBytes = static_cast<WORD>(substitute.size() * 2), printBytes = static_cast<WORD>(target.size() * 2);
    // The mount point layout: tag, data length, reserved, then the two names' offsets and lengths.
    const WORD dataLength = static_cast<WORD>(8 + substituteBytes + 2 + printBytes + 2);
    std::vector<BYTE> buffer(8 + dataLength);
    auto put16 = [&](std::size_t at16, WORD v) { std::memcpy(&buffer[at16], &v, 2); };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(&buffer[0], &tag, 4);
    put16(4, dataLength);
    put16(8, 0);
    put16(10, substituteBytes);
    put16(12, static_cast<WORD>(substituteBytes + 2));
    put16(14, printBytes);
    std::memcpy(&buffer[16], substitute.c_str(), substituteBytes);
    std::memcpy(&buffer[16 + substituteBytes + 2], target.c_str(), printBytes);
    DWORD returned = 0;
    const bool made = folder && ::DeviceIoControl(folder.get(), kSetReparsePoint, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    folder.reset();
    const DWORD attributes = ::GetFileAttributesW(at.c_str());
    if (made && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    ::RemoveDirectoryW(at.c_str());
    return false;
}

}  // namespace

// The folder's access list as the installer builds it, read in memory (Wine does not keep file
// access lists faithfully): full control for Administrators and SYSTEM only, passed on to files
// and folders inside, nothing taken from the user's temporary folder above.
TEST(TempFolderSecurityWin, OnlyAdministratorsAndSystemInheritedByWhatIsInsideAndProtected) {
    const TempFolderSecurity security;
    ASSERT_TRUE(::IsValidSecurityDescriptor(security.descriptor()));
    ASSERT_TRUE(::IsValidAcl(security.acl()));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(::GetSecurityDescriptorControl(security.descriptor(), &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PRESENT);
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    EXPECT_FALSE(control & SE_DACL_DEFAULTED);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(::GetSecurityDescriptorDacl(security.descriptor(), &present, &dacl, &defaulted));
    ASSERT_EQ(dacl, security.acl());

    ACL_SIZE_INFORMATION size{};
    ASSERT_TRUE(::GetAclInformation(dacl, &size, sizeof size, AclSizeInformation));
    ASSERT_EQ(size.AceCount, 2u);
    std::vector<BYTE> expected[] = {well_known_sid(WinBuiltinAdministratorsSid), well_known_sid(WinLocalSystemSid)};
    for (DWORD i = 0; i < size.AceCount; ++i) {
        void* entry = nullptr;
        ASSERT_TRUE(::GetAce(dacl, i, &entry));
        const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << i;
        EXPECT_EQ(allowed->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE) << i;
        EXPECT_EQ(allowed->Mask, static_cast<DWORD>(FILE_ALL_ACCESS)) << i;
        EXPECT_TRUE(::EqualSid(const_cast<DWORD*>(&allowed->SidStart), expected[i].data())) << i;
    }
    // Nobody else: the users group and the interactive user are on no entry.
    const std::vector<BYTE> users = well_known_sid(WinBuiltinUsersSid), world = well_known_sid(WinWorldSid);
    for (DWORD i = 0; i < size.AceCount; ++i) {
        void* entry = nullptr;
        ASSERT_TRUE(::GetAce(dacl, i, &entry));
        PSID sid = &static_cast<ACCESS_ALLOWED_ACE*>(entry)->SidStart;
        EXPECT_FALSE(::EqualSid(sid, const_cast<BYTE*>(users.data())));
        EXPECT_FALSE(::EqualSid(sid, const_cast<BYTE*>(world.data())));
    }
}

// The installer makes the folder itself; whatever is already at the path (a folder, a file, a
// junction where Wine can make one) refuses it with the temporary-folder text and stays as it was.
TEST_F(PlacementWinTest, TempFolderIsMadeNewAndAnythingAtThePathRefusesIt) {
    const std::wstring path = P(L"quillon_{11111111-2222-4333-8444-555555555555}");
    const TempFolderPathResult made = CreateTempFolder(path);
    ASSERT_TRUE(made.ok) << to_utf8(made.text);
    EXPECT_EQ(made.text, path);
    EXPECT_TRUE(placement_test::Exists(path));

    const TempFolderPathResult again = CreateTempFolder(path);
    EXPECT_FALSE(again.ok);
    EXPECT_EQ(to_utf8(again.text), "000000b7 (CreateDirectory)");  // ERROR_ALREADY_EXISTS
    ASSERT_TRUE(::RemoveDirectoryW(path.c_str()));

    placement_test::WriteFileBytes(path, "x");
    EXPECT_EQ(to_utf8(CreateTempFolder(path).text), "000000b7 (CreateDirectory)");
    ASSERT_TRUE(::DeleteFileW(path.c_str()));

    MakeFolder(P(L"elsewhere"));
    if (!make_junction(path, P(L"elsewhere"))) {
        std::printf("[   NOTE   ] no junction could be made here (Wine): that case is not run\n");
        return;
    }
    const TempFolderPathResult junction = CreateTempFolder(path);
    EXPECT_FALSE(junction.ok);
    EXPECT_EQ(to_utf8(junction.text), "000000b7 (CreateDirectory)");
    EXPECT_NE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << "the junction stays";
    ::RemoveDirectoryW(path.c_str());
}

TEST(PathQuotingWin, SameAnswersAsTheShell) {
    const std::wstring cases[] = {
        L"C:\\Program Files\\Quillon\\Mobrix 6\\Mobrix.exe",
        L"C:\\Quillon\\Mobrix.exe",
        L"",
        L" ",
        L"\"C:\\already quoted\"",
        L" " + std::wstring(255, L'a'),
        L" " + std::wstring(256, L'a'),
        L" " + std::wstring(257, L'a'),
        std::wstring(300, L'b'),
    };
    for (const std::wstring& path : cases) {
        wchar_t buffer[MAX_PATH];
        ::lstrcpynW(buffer, path.c_str(), MAX_PATH);
        ::PathQuoteSpacesW(buffer);
        EXPECT_EQ(to_utf8(QuoteSpaces(path)), to_utf8(buffer)) << path.size();
    }
}
