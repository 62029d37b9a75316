// The advanced path in French, into a folder whose name has blanks and characters outside
// ASCII, with the desktop link only: the chosen folders are the ones used everywhere, and the
// installed uninstaller takes it all away again.
#include <gtest/gtest.h>

#include <map>

#include "installed_product.hpp"
#include "machine_snapshot.hpp"
#include "quick_path.hpp"
#include "system/file_association.hpp"
#include "system/installation_record.hpp"
#include "system/uninstall_registration.hpp"

namespace {

using namespace zu_test::quick;
using zu::LogEntryKind;
using zu_test::WizardDriver;

constexpr int kFrenchPosition = 0;  // first in the Start page's list
const std::wstring kFolder = L"C:\\Program Files\\Quillon\\Mobrix 6 \u00c9t\u00e9 \u65e5\u672c";
const std::wstring kMenuText = L"Programs\\Quillon\\Mobrix \u00c9t\u00e9";

std::wstring french(unsigned offset) { return message(offset, zu::kFrench); }
std::wstring french(unsigned offset, const std::wstring& argument) { return message(offset, zu::kFrench, {argument}); }
std::wstring quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

TEST(E2E, AdvancedFrenchInstallationIntoAnUnusualFolderWithTheDesktopLinkOnly) {
    ProductRemovedAtEnd clean;
    const zu_test::Snapshot driveBefore = zu_test::drive_listing();
    const zu_test::Snapshot registryBefore = zu_test::registry_listing();
    const std::wstring programs = zu_test::shell_folder(CSIDL_COMMON_PROGRAMS);
    const std::wstring startMenu = programs.substr(0, programs.find_last_of(L'\\'));
    const std::wstring menuFolder = startMenu + L"\\" + kMenuText;
    const std::wstring mainProgram = kFolder + L"\\Mobrix.exe", uninstaller = kFolder + L"\\Uninstall.exe";
    {
        WizardDriver w(installer(), L"", false);
        ASSERT_TRUE(w.Frame());
        w.ChooseLanguage(kFrenchPosition);
        EXPECT_EQ(w.Title(), french(0) + L" \u2013 Mobrix 6.05h");
        w.ClickButton(kNext);
        ASSERT_EQ(w.PageIndex(), 1);
        w.Click(w.PageItem(1019));  // advanced
        w.ClickButton(kNext);
        ASSERT_EQ(w.PageIndex(), 2);
        w.SetEditText(w.PageItem(1007), kFolder);
        w.ClickButton(kNext);
        ASSERT_EQ(w.PageIndex(), 3);
        w.SetEditText(w.PageItem(1007), kMenuText);
        ASSERT_TRUE(w.Checked(w.PageItem(1011)) && w.Checked(w.PageItem(1010)));
        w.Click(w.PageItem(1011));  // no Start-menu links
        w.ClickButton(kNext);
        ASSERT_EQ(w.PageIndex(), 4);

        // The options, in French, the folder quoted since it has blanks; no Start-menu line.
        const std::vector<std::wstring> summary = zu_test::lines_of(progress_log(w));
        ASSERT_GE(summary.size(), 4u);
        EXPECT_EQ(summary[0], french(100, L"Mobrix 6.05h"));
        EXPECT_NE(summary[1].find(french(122)), std::wstring::npos);
        EXPECT_EQ(summary[2], french(123, quoted(kFolder)));
        EXPECT_EQ(summary[3], french(125));
        EXPECT_EQ(summary.size(), 4u);

        ASSERT_TRUE(install_and_wait(w, 180, zu::kFrench)) << zu_test::utf8(progress_log(w));
        const std::wstring log = progress_log(w);
        const std::wstring copying = french(115, L"");
        const std::wstring prefix = copying.substr(0, copying.find(L"..."));
        int copied = 0, intoFolder = 0;
        for (const auto& line : zu_test::lines_of(log)) {
            if (line.rfind(prefix, 0) != 0) continue;
            ++copied;
            EXPECT_EQ(line.substr(line.size() - 5), L"..." + french(11)) << zu_test::utf8(line);
            intoFolder += line.rfind(prefix + L"\"" + kFolder + L"\\", 0) == 0;
        }
        EXPECT_EQ(copied, 70);
        EXPECT_GT(intoFolder, 0) << "file messages quote the chosen folder";
        for (unsigned step : {114u, 117u, 118u, 119u}) {
            EXPECT_NE(log.find(french(step) + french(11) + L"\r\n"), std::wstring::npos) << zu_test::utf8(french(step));
        }
        EXPECT_EQ(log.find(french(12)), std::wstring::npos) << "no step failed";
        w.ClickButton(kNext);
        ASSERT_EQ(w.PageIndex(), 5);
        EXPECT_EQ(w.PageText(1016), french(120));
        w.ClickButton(kCancel);
        EXPECT_EQ(w.WaitForExit(), 0u);
    }

    // The chosen folder holds the product; the key, the association and the record name it.
    for (const auto& path : {mainProgram, uninstaller}) {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << zu_test::utf8(path);
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY) << zu_test::utf8(path);
    }
    std::map<std::wstring, zu_test::KeyValue> values = zu_test::uninstall_key_values();
    const auto expected = zu::UninstallValues(mainProgram, uninstaller, zu::kFrench);
    EXPECT_EQ(values.size(), expected.size());
    for (const auto& value : expected) {
        auto found = values.find(value.name);
        ASSERT_NE(found, values.end()) << zu_test::utf8(value.name);
        EXPECT_EQ(found->second.data, value.data) << zu_test::utf8(value.name);
    }
    EXPECT_EQ(zu_test::string_of(values[L"UninstallString"]), uninstaller);
    EXPECT_EQ(values[L"ZuLanguage"].data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(zu_test::class_default(std::wstring(zu::kProjectClass) + L"\\shell\\open\\command"),
              quoted(mainProgram) + L" \"%1\"");
    EXPECT_EQ(zu::ReadInstallationRecord().executable, mainProgram) << "the registration ran the chosen copy";

    // Only the desktop link; the Start-menu folder was not made, though the log names it.
    std::wstring desktopLink = zu_test::shell_folder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Mobrix 6.05h.lnk";
    if (!zu_test::exists(desktopLink)) desktopLink = zu_test::shell_folder(CSIDL_DESKTOPDIRECTORY) + L"\\Mobrix 6.05h.lnk";
    EXPECT_TRUE(zu_test::exists(desktopLink));
    EXPECT_FALSE(zu_test::exists(menuFolder));
    EXPECT_FALSE(zu_test::exists(programs + L"\\Quillon"));

    const std::string bytes = zu_test::read_bytes(kFolder + L"\\Uninstall.ulog");
    const auto content = zu::ulog::ParseLog(zu::ulog::MemorySource(bytes.data(), bytes.size()));
    EXPECT_TRUE(content.utf16);
    EXPECT_EQ(content.stop, zu::ulog::ReadStop::EndOfFile);
    EXPECT_EQ(content.installPath, kFolder);
    EXPECT_EQ(content.shortcutPath, menuFolder);
    EXPECT_NE(bytes.find(zu::ulog::EncodeLine(L"// " + std::wstring(16 + menuFolder.size(), L'-'))), std::string::npos);
    std::map<LogEntryKind, int> counts;
    for (const auto& e : content.entries) {
        ++counts[e.kind];
        EXPECT_TRUE(e.done) << zu_test::utf8(zu::ulog::EntryLine(0, e));
        if (e.kind == LogEntryKind::DesktopShortcut) {
            EXPECT_EQ(e.text, desktopLink);
        }
    }
    EXPECT_EQ(counts[LogEntryKind::DesktopShortcut], 1);
    EXPECT_EQ(counts[LogEntryKind::MenuShortcut] + counts[LogEntryKind::UninstallShortcut], 0);
    EXPECT_EQ(counts[LogEntryKind::File], 64);

    // The uninstaller reads that log back and leaves the machine as it was.
    zu_test::uninstall_quietly(uninstaller, kFolder);
    if (HasFatalFailure()) return;
    EXPECT_FALSE(zu_test::exists(kFolder));
    EXPECT_TRUE(zu_test::uninstall_key_values().empty());
    const zu_test::Snapshot driveAfter = zu_test::drive_listing();
    const zu_test::Snapshot registryAfter = zu_test::registry_listing();
    EXPECT_EQ(driveBefore, driveAfter) << zu_test::difference(driveBefore, driveAfter);
    EXPECT_EQ(registryBefore, registryAfter) << zu_test::difference(registryBefore, registryAfter);
}

}  // namespace
