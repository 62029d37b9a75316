// The temporary folder's path from the system's temporary folder, and the shell's quoting rule
// that the "Copying File" lines follow.
#include <gtest/gtest.h>

#include <regex>

#include "engine/path_quoting.hpp"
#include "placement_fixture.hpp"
#include "support/wide_path.hpp"
#include "system/temp_folder_path.hpp"

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
