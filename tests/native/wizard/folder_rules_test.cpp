#include <gtest/gtest.h>

#include <cwctype>

#include "engine/folder_rules.hpp"

namespace {

TEST(SubFolderProposal, AppendsOnlyWhatThePickedFolderLacks) {
    struct Case {
        const wchar_t* path;
        const wchar_t* sub;
        const wchar_t* proposed;
    } cases[] = {
        {L"D:\\Apps", L"Mobrix 6", L"D:\\Apps\\Mobrix 6"},
        {L"D:\\Apps\\Mobrix 6", L"Mobrix 6", L"D:\\Apps\\Mobrix 6"},
        {L"D:\\Apps\\MOBRIX 6", L"Mobrix 6", L"D:\\Apps\\MOBRIX 6"},  // case does not matter
        {L"C:\\", L"Mobrix 6", L"C:\\Mobrix 6"},
        {L"C:\\Program Files", L"Quillon\\Mobrix 6", L"C:\\Program Files\\Quillon\\Mobrix 6"},
        {L"C:\\Program Files\\Quillon", L"Quillon\\Mobrix 6", L"C:\\Program Files\\Quillon\\Mobrix 6"},
        {L"C:\\Program Files\\Quillon\\Mobrix 6", L"Quillon\\Mobrix 6", L"C:\\Program Files\\Quillon\\Mobrix 6"},
        // As many components as the sub-folder: not "more", so the proposal still appends.
        {L"Mobrix 6", L"Mobrix 6", L"Mobrix 6\\Mobrix 6"},
        {L"D:\\Apps", L"", L"D:\\Apps"},
    };
    for (const Case& c : cases) EXPECT_EQ(zu::ProposeSubFolder(c.path, c.sub), c.proposed) << c.path << " + " << c.sub;
}

TEST(SubFolderProposal, RelativeToTheRootsParentWhenRooted) {
    const std::wstring startMenu = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
    EXPECT_EQ(zu::ProposeSubFolder(startMenu + L"\\Programs\\Quillon", L"Mobrix 6", startMenu),
              L"Programs\\Quillon\\Mobrix 6");
    EXPECT_EQ(zu::ProposeSubFolder(startMenu + L"\\Programs", L"Mobrix 6", startMenu), L"Programs\\Mobrix 6");
}

TEST(RelativeShortcutFolder, FromTheStartMenuRootAndBack) {
    const std::wstring root = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
    struct Case {
        const wchar_t* folder;
        const wchar_t* relative;
    } cases[] = {
        {L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quillon\\Mobrix 6", L"Programs\\Quillon\\Mobrix 6"},
        {L"c:\\programdata\\microsoft\\windows\\start menu\\Programs", L"Programs"},
        {L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu", L""},
        {L"C:\\ProgramData\\Microsoft\\Windows\\Other", L"..\\Other"},
        {L"D:\\Menus\\Mobrix 6", L"D:\\Menus\\Mobrix 6"},  // no common root: kept absolute
    };
    for (const Case& c : cases) {
        const std::wstring relative = zu::RelativeFolder(root, c.folder);
        EXPECT_EQ(relative, c.relative) << c.folder;
        // Saving the page combines the text with the root again (in the root's spelling).
        std::wstring back = zu::CombinePath(root, relative), expected = zu::CanonicalPath(c.folder);
        for (std::wstring* s : {&back, &expected}) for (wchar_t& ch : *s) ch = static_cast<wchar_t>(towlower(ch));
        EXPECT_EQ(back, expected) << c.folder;
    }
}

TEST(CombinePath, ResolvesStepsAndKeepsAbsoluteTexts) {
    const std::wstring root = L"C:\\Start Menu";
    EXPECT_EQ(zu::CombinePath(root, L"Programs\\.\\Quillon\\..\\Mobrix 6"), L"C:\\Start Menu\\Programs\\Mobrix 6");
    EXPECT_EQ(zu::CombinePath(root, L"..\\..\\..\\Other"), L"C:\\Other");  // never above the drive
    EXPECT_EQ(zu::CombinePath(root, L"E:\\Elsewhere"), L"E:\\Elsewhere");
    EXPECT_EQ(zu::CombinePath(root, L"\\Top"), L"C:\\Top");
    EXPECT_EQ(zu::CombinePath(root, L""), L"C:\\Start Menu");
    EXPECT_EQ(zu::CombinePath(L"\\\\server\\share\\menus", L"..\\x"), L"\\\\server\\share\\x");
}

TEST(TypedPath, AcceptsQualifiedFoldersAndRefusesTheRest) {
    zu::TypedPathContext unrooted;
    unrooted.currentDirectory = L"C:\\users\\root";
    struct Case {
        std::wstring typed;
        std::uint32_t error;
        const wchar_t* path;
    } cases[] = {
        {L"C:", 0, L"C:\\"},
        {L"  D:\\Apps\\Mobrix 6\\  ", 0, L"D:\\Apps\\Mobrix 6"},
        {L"C:\\", 0, L"C:\\"},
        {L"Games", 0, L"C:\\users\\root\\Games"},
        {L"", 0, L"C:\\users\\root"},
        {L"*", zu::kErrorBadPathname, L""},
        {L"C:\\Apps\\Mob?ix", zu::kErrorBadPathname, L""},
        {L"C:\\a|b", zu::kErrorBadPathname, L""},
        {std::wstring(259, L'a'), zu::kErrorBadPathname, L""},  // fits, but not once qualified
        {std::wstring(260, L'a'), zu::kErrorFilenameTooLong, L""},
    };
    for (const Case& c : cases) {
        const zu::TypedPathResult r = zu::ValidateTypedPath(c.typed, unrooted);
        EXPECT_EQ(r.error, c.error) << "'" << std::string(c.typed.begin(), c.typed.end()) << "'";
        EXPECT_EQ(r.path, c.path);
    }
}

TEST(TypedPath, RootedTextsResolveAgainstTheRootsParentAndStayInside) {
    zu::TypedPathContext rooted;
    rooted.currentDirectory = L"C:\\users\\root";
    rooted.rootParent = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
    EXPECT_EQ(zu::ValidateTypedPath(L"Programs\\Quillon", rooted).path,
              L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quillon");
    EXPECT_EQ(zu::ValidateTypedPath(L"..\\Outside", rooted).error, zu::kErrorBadPathname);
    EXPECT_EQ(zu::ValidateTypedPath(L"D:\\Menus", rooted).error, zu::kErrorBadPathname);
    // A sibling sharing the root's name as a prefix is outside it.
    EXPECT_EQ(zu::ValidateTypedPath(L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu2", rooted).error,
              zu::kErrorBadPathname);
}

TEST(TypedPath, FailuresOfTheEnvironmentAreReportedAsTheyCame) {
    zu::TypedPathContext context;
    context.currentDirectoryError = 5;  // the current directory could not be read
    EXPECT_EQ(zu::ValidateTypedPath(L"   ", context).error, 5u);
    context.rootParent = L"C:\\Start";
    context.qualify = [](const std::wstring&, const std::wstring&, std::wstring&) -> std::uint32_t { return 3; };
    EXPECT_EQ(zu::ValidateTypedPath(L"Programs", context).error, 3u);  // could not enter the root
}

}  // namespace
