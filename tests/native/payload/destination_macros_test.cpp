#include "payload/compress_error.hpp"
#include "payload/destination_macros.hpp"
#include "support/wide_path.hpp"

#include <gtest/gtest.h>

#include <map>

namespace {

using zu::csidl::appdata;
using zu::csidl::common_appdata;
using zu::csidl::common_desktop_directory;
using zu::csidl::desktop_directory;

const std::wstring S(1, zu::kPathSeparator);
const std::wstring kInstall = L"/opt/Quillon" + S + L"Mobrix 6";

std::map<int, std::wstring> all_folders() {
    std::map<int, std::wstring> folders;
    for (int id : {0x05, 0x10, 0x1A, 0x19, 0x23, 0x24, 0x25, 0x26, 0x2B, 0x2E}) folders[id] = L"/csidl" + std::to_wstring(id);
    return folders;
}

std::wstring expand(const std::wstring& folder, const zu::destination_roots& roots,
                    std::map<int, std::wstring> folders = all_folders()) {
    return zu::expand_destination(folder, roots, zu::special_folders(std::move(folders)));
}

}  // namespace

TEST(DestinationMacros, EdgeCasesOfTheExpansion) {
    const zu::destination_roots roots{kInstall, L"Mobrix Examples", L"/tmp/quillon_{x}"};
    struct { std::wstring folder, expected; } cases[] = {
        {L"<InstallPath>\\Lang", kInstall + S + L"Lang"},
        {L"<InstallPath>", kInstall},
        {L"<InstallPath>\\Lang\\de", kInstall + S + L"Lang" + S + L"de"},
        {L"<InstallPath>/Lang", kInstall + S + L"Lang"},
        {L"<InstallPath>\\\\Lang\\", kInstall + S + L"Lang"},  // empty elements drop out
        {L"<installpath>\\Lang", L"Lang"},                     // case matters: an unknown macro
        {L"<Unknown>\\A\\B", L"A" + S + L"B"},
        {L"<Unknown>", L""},
        {L"<InstallPath>Lang", L"<InstallPath>Lang"},           // does not end with '>'
        {L"InstallPath>\\Lang", L"InstallPath>\\Lang"},
        {L"C:\\Program Files\\X", L"C:\\Program Files\\X"},
        {L"\\<InstallPath>\\X", L"\\<InstallPath>\\X"},
        {L"", L""},
        {L"<Temporary>", L"/tmp/quillon_{x}"},
        {L"<CommonData>\\Quillon\\Mobrix 6", L"/csidl35" + S + L"Quillon" + S + L"Mobrix 6"},
        {L"<SamplePath>", L"/csidl25" + S + L"Mobrix Examples"},
    };
    for (const auto& c : cases) EXPECT_EQ(expand(c.folder, roots), c.expected) << zu::to_utf8(c.folder);
}

TEST(DestinationMacros, InstallRootEndingInASeparatorGivesTheSameResult) {
    const zu::destination_roots with{kInstall + S, L"", L""}, without{kInstall, L"", L""};
    EXPECT_EQ(expand(L"<InstallPath>\\Lang", with), expand(L"<InstallPath>\\Lang", without));
}

TEST(DestinationMacros, EveryMacroResolvesToItsFolder) {
    const zu::destination_roots roots{kInstall, L"", L""};
    struct { const wchar_t* macro; int folder; } table[] = {
        {L"<ProgramFiles>", 0x26}, {L"<ProgramCommon>", 0x2B}, {L"<CommonData>", 0x23}, {L"<UserData>", 0x1A},
        {L"<CommonDocuments>", 0x2E}, {L"<Documents>", 0x05}, {L"<CommonDesktop>", 0x19}, {L"<Desktop>", 0x10},
        {L"<WinDir>", 0x24}, {L"<System>", 0x25},
    };
    for (const auto& m : table) EXPECT_EQ(expand(m.macro, roots), L"/csidl" + std::to_wstring(m.folder)) << zu::to_utf8(m.macro);
}

TEST(DestinationMacros, SharedFoldersFallBackToTheUsersOwn) {
    const zu::destination_roots roots{kInstall, L"", L""};
    struct { const wchar_t* macro; int missing; int fallback; } table[] = {
        {L"<CommonData>", 0x23, 0x1A}, {L"<CommonDocuments>", 0x2E, 0x05}, {L"<CommonDesktop>", 0x19, 0x10},
        {L"<SamplePath>", 0x19, 0x10},
    };
    for (const auto& m : table) {
        auto folders = all_folders();
        folders.erase(m.missing);
        EXPECT_EQ(expand(m.macro, roots, folders), L"/csidl" + std::to_wstring(m.fallback)) << zu::to_utf8(m.macro);
        folders.erase(m.fallback);
        try {
            expand(m.macro, roots, folders);
            ADD_FAILURE() << "no folder and no fallback must fail: " << zu::to_utf8(m.macro);
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code(), zu::compress_errc::unexpected);
        }
    }
    // A folder without a fallback fails as soon as it is missing, even when others are there.
    auto folders = all_folders();
    folders.erase(0x1A);
    EXPECT_THROW(expand(L"<UserData>\\x", roots, folders), std::system_error);
    EXPECT_EQ(expand(L"<CommonData>\\x", roots, folders), L"/csidl35" + S + L"x");
}

TEST(DestinationMacros, SamplePathAndTemporaryRules) {
    struct { std::wstring sample, temp, folder, expected; } cases[] = {
        {L"/srv/Samples", L"", L"<SamplePath>", L"/srv/Samples"},           // absolute: itself
        {L"/srv/Samples", L"", L"<SamplePath>\\One", L"/srv/Samples" + S + L"One"},
        {L"", L"", L"<SamplePath>", L"/csidl25"},                              // empty: the shared desktop
        {L"Mobrix Examples", L"", L"<SamplePath>", L"/csidl25" + S + L"Mobrix Examples"},
        {L"", L"", L"<Temporary>", kInstall},                                  // no temporary root
        {L"", L"/tmp/t", L"<Temporary>\\dx", L"/tmp/t" + S + L"dx"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(expand(c.folder, {kInstall, c.sample, c.temp}), c.expected) << zu::to_utf8(c.folder);
    }
    // Roots that need no special folder resolve on a machine without any.
    EXPECT_EQ(expand(L"<SamplePath>", {kInstall, L"/srv/Samples", L""}, {}), L"/srv/Samples");
    EXPECT_EQ(expand(L"<Temporary>", {kInstall, L"", L""}, {}), kInstall);
    EXPECT_THROW(expand(L"<SamplePath>", {kInstall, L"Mobrix Examples", L""}, {}), std::system_error);
}

TEST(DestinationMacros, NativeSystemHasNoSpecialFolders) {
    EXPECT_THROW(zu::expand_destination(L"<CommonData>", {kInstall, L"", L""}, zu::special_folders()), std::system_error);
}
