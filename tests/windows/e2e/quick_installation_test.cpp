// The real installer walked by the wizard driver on the quick English path, as a new user
// would: it installs the demo payload, and the installed uninstaller takes it all away again.
// With ZU_E2E_ACCOUNT set, the test also prints the wizard's log and what was placed, for the
// demo command.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "i18n/messages.hpp"
#include "installed_product.hpp"
#include "machine_snapshot.hpp"
#include "system/file_association.hpp"
#include "system/installation_record.hpp"
#include "system/uninstall_registration.hpp"
#include "quick_path.hpp"

namespace {

using namespace zu_test::quick;
using zu::LogEntryKind;
using zu_test::WizardDriver;

std::wstring folder_of(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

struct Placed {
    std::wstring wizardLog;
    zu::ulog::LogFileContent log;
    std::string logBytes;
    std::map<std::wstring, zu_test::KeyValue> values;
};

void print_account(const Placed& placed, const std::wstring& shortcutFolder) {
    std::printf("\n== The wizard's progress log at the end\n%s\n", zu_test::utf8(placed.wizardLog).c_str());
    std::printf("== What was placed\n");
    std::map<std::wstring, int> filesByFolder;
    std::vector<std::wstring> links, folders;
    for (const auto& e : placed.log.entries) {
        if (e.kind == LogEntryKind::File) ++filesByFolder[folder_of(e.text)];
        if (e.kind == LogEntryKind::Folder) folders.push_back(e.text);
        if (e.kind >= LogEntryKind::MenuShortcut && e.kind <= LogEntryKind::DesktopShortcut) links.push_back(e.text);
    }
    std::printf("Folders created: %zu\n", folders.size());
    for (const auto& [folder, count] : filesByFolder) {
        std::printf("  %3d file(s) in %s\n", count, zu_test::utf8(folder).c_str());
    }
    for (const wchar_t* name : {L"\\Mobrix.exe", L"\\Uninstall.exe"}) {
        const DWORD a = ::GetFileAttributesW((kInstallFolder + name).c_str());
        std::printf("  %s%s\n", zu_test::utf8(kInstallFolder + name).c_str(),
                    a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) ? " (read-only)" : "");
    }
    std::printf("Links (%zu):\n", links.size());
    for (const auto& link : links) std::printf("  %s\n", zu_test::utf8(link).c_str());
    std::printf("Uninstall key HKEY_LOCAL_MACHINE\\%s: %zu values\n", zu_test::utf8(zu::ProductIdentity::uninstallKey).c_str(),
                placed.values.size());
    for (const auto& [name, value] : placed.values) {
        std::wstring text = value.type == REG_DWORD && value.data.size() == 4
                                ? std::to_wstring(*reinterpret_cast<const DWORD*>(value.data.data()))
                                : zu_test::string_of(value);
        std::printf("  %-16s %s\n", zu_test::utf8(name).c_str(), zu_test::utf8(text).c_str());
    }
    std::printf("Association: %s -> %s, open with %s\n", zu_test::utf8(zu::kProjectExtension).c_str(),
                zu_test::utf8(zu_test::class_default(zu::kProjectExtension).value_or(L"(none)")).c_str(),
                zu_test::utf8(zu_test::class_default(std::wstring(zu::kProjectClass) + L"\\shell\\open\\command")
                                  .value_or(L"(none)")).c_str());
    std::printf("Uninstall.ulog: %zu entries, %zu bytes, shortcut path %s\n", placed.log.entries.size(),
                placed.logBytes.size(), zu_test::utf8(shortcutFolder).c_str());
    std::fflush(stdout);
}

// A fresh machine, the quick path in English, then the installed uninstaller: everything the
// installation must place is there, and afterwards the machine is as it was before.
TEST(E2E, QuickEnglishInstallationThenQuietUninstall) {
    ProductRemovedAtEnd clean;
    const zu_test::Snapshot driveBefore = zu_test::drive_listing();
    const zu_test::Snapshot registryBefore = zu_test::registry_listing();
    zu_test::Snapshot tempBefore;
    zu_test::list_files(zu_test::temp_folder(), {}, tempBefore);
    const std::wstring menuFolder = zu_test::shell_folder(CSIDL_COMMON_PROGRAMS) + L"\\Quillon\\Mobrix 6";

    Placed placed;
    {
        WizardDriver w(installer(), L"", false);
        ASSERT_TRUE(w.Frame());
        w.Screenshot("page0-start");
        w.ClickButton(kNext);
        w.Screenshot("page1-mode");
        w.ClickButton(kNext);
        ASSERT_EQ(w.PageIndex(), 4);
        w.Screenshot("page4-install");
        ASSERT_TRUE(install_and_wait(w)) << zu_test::utf8(progress_log(w)) << zu_test::utf8(w.PageText(1003));
        placed.wizardLog = progress_log(w);
        EXPECT_EQ(w.PageText(1003), L"Click on 'Next' to continue.");
        w.Screenshot("page4-install-done");
        w.ClickButton(kNext);
        ASSERT_EQ(w.PageIndex(), 5);
        EXPECT_EQ(w.PageText(1016), L"Installation is complete.");
        w.Screenshot("page5-end");
        w.ClickButton(kCancel);
        EXPECT_EQ(w.WaitForExit(), 0u);

        // The wizard's log: every payload file copied, every step OK.
        const std::wstring copying = message(115).substr(0, message(115).find(L"%1"));
        int copied = 0;
        for (const auto& line : zu_test::lines_of(placed.wizardLog)) {
            if (line.rfind(copying, 0) != 0) continue;
            ++copied;
            EXPECT_EQ(line.size() - line.rfind(L"..." + message(11)), 3 + message(11).size()) << zu_test::utf8(line);
        }
        EXPECT_EQ(copied, 70);
        for (unsigned step : {114u, 117u, 118u, 119u}) {
            EXPECT_NE(placed.wizardLog.find(message(step) + message(11) + L"\r\n"), std::wstring::npos)
                << zu_test::utf8(message(step));
        }
        EXPECT_EQ(placed.wizardLog.find(message(12)), std::wstring::npos) << "no step failed";

        // Nothing left in the temporary folder: the setup library and its companions are gone.
        zu_test::Snapshot tempAfter;
        zu_test::list_files(zu_test::temp_folder(), {}, tempAfter);
        EXPECT_EQ(tempBefore, tempAfter) << zu_test::difference(tempBefore, tempAfter);

        // The executables, read-only.
        const std::wstring mainProgram = kInstallFolder + L"\\Mobrix.exe", uninstaller = kInstallFolder + L"\\Uninstall.exe";
        for (const auto& path : {mainProgram, uninstaller}) {
            const DWORD attributes = ::GetFileAttributesW(path.c_str());
            ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << zu_test::utf8(path);
            EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY) << zu_test::utf8(path);
        }

        // The twelve values, in English.
        placed.values = zu_test::uninstall_key_values();
        const auto expected = zu::UninstallValues(mainProgram, uninstaller, zu::kEnglish);
        EXPECT_EQ(placed.values.size(), 12u);
        for (const auto& value : expected) {
            auto found = placed.values.find(value.name);
            ASSERT_NE(found, placed.values.end()) << zu_test::utf8(value.name);
            EXPECT_EQ(found->second.type, value.type) << zu_test::utf8(value.name);
            EXPECT_EQ(found->second.data, value.data) << zu_test::utf8(value.name);
        }
        ASSERT_EQ(placed.values[L"ZuLanguage"].data, (std::vector<std::uint8_t>{1, 0, 0, 0}));

        // The registration: the association and the product's installation record.
        EXPECT_EQ(zu_test::class_default(zu::kProjectExtension), std::wstring(zu::kProjectClass));
        EXPECT_EQ(zu_test::class_default(std::wstring(zu::kProjectClass) + L"\\shell\\open\\command"),
                  L"\"" + mainProgram + L"\" \"%1\"");
        EXPECT_TRUE(zu::ReadInstallationRecord().installed);

        // Uninstall.ulog, exactly: byte-order mark, header, then folders, files, links, key,
        // registration and DirectX, each done.
        placed.logBytes = zu_test::read_bytes(kInstallFolder + L"\\Uninstall.ulog");
        placed.log = zu::ulog::ParseLog(zu::ulog::MemorySource(placed.logBytes.data(), placed.logBytes.size()));
        EXPECT_TRUE(placed.log.utf16);
        EXPECT_EQ(placed.log.stop, zu::ulog::ReadStop::EndOfFile);
        const std::wstring shortcutLine = L"Shortcut Path : " + menuFolder;
        std::vector<std::wstring> lines = {
            L"// Uninstall Log File v1",
            L"// ############ WARNING: Do not delete or modify this file. ############",
            L"// Install Mobrix 6.05h",
            L"// Install Path : " + kInstallFolder,
            L"// " + shortcutLine,
            L"// " + std::wstring(shortcutLine.size(), L'-'),
        };
        for (std::size_t i = 0; i < placed.log.entries.size(); ++i) {
            lines.push_back(zu::ulog::EntryLine(i, placed.log.entries[i]));
        }
        EXPECT_EQ(placed.logBytes, zu::ulog::EncodeLog(lines)) << "the log is not as the format has it";
        const std::string keyLine = zu::ulog::EncodeLine(L":05ff:1 -- HKEY_LOCAL_MACHINE\\" +
                                                         std::wstring(zu::ProductIdentity::uninstallKey));
        EXPECT_NE(placed.logBytes.find(keyLine), std::string::npos);

        // In the order of the run: folders and files as the extraction met them, then the links,
        // the DirectX setup, the key and the registration run.
        std::vector<LogEntryKind> kinds;
        std::map<LogEntryKind, int> counts;
        for (const auto& e : placed.log.entries) {
            EXPECT_TRUE(e.done) << zu_test::utf8(zu::ulog::EntryLine(0, e));
            const bool extracted = e.kind == LogEntryKind::File || e.kind == LogEntryKind::Folder;
            if (!extracted || kinds.empty()) kinds.push_back(extracted ? LogEntryKind::File : e.kind);
            ++counts[e.kind];
            if (extracted || (e.kind >= LogEntryKind::MenuShortcut && e.kind <= LogEntryKind::DesktopShortcut)) {
                EXPECT_TRUE(zu_test::exists(e.text)) << zu_test::utf8(e.text);
            }
        }
        EXPECT_EQ(kinds, (std::vector<LogEntryKind>{LogEntryKind::File, LogEntryKind::MenuShortcut,
                                                     LogEntryKind::UninstallShortcut, LogEntryKind::DesktopShortcut,
                                                     LogEntryKind::DirectX, LogEntryKind::UninstallKey,
                                                     LogEntryKind::Registration}));
        EXPECT_EQ(placed.log.entries.front().kind, LogEntryKind::Folder);
        EXPECT_EQ(counts[LogEntryKind::File], 64) << "the six temporary files are not recorded";
        EXPECT_EQ(counts[LogEntryKind::MenuShortcut] + counts[LogEntryKind::UninstallShortcut] +
                      counts[LogEntryKind::DesktopShortcut], 3);
        EXPECT_TRUE(zu_test::exists(menuFolder + L"\\Mobrix 6.05h.lnk"));
        EXPECT_TRUE(zu_test::exists(zu_test::shell_folder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Mobrix 6.05h.lnk") ||
                    zu_test::exists(zu_test::shell_folder(CSIDL_DESKTOPDIRECTORY) + L"\\Mobrix 6.05h.lnk"));

        if (std::getenv("ZU_E2E_ACCOUNT")) print_account(placed, menuFolder);

        zu_test::uninstall_quietly(uninstaller, kInstallFolder);
        if (HasFatalFailure()) return;
    }

    // Nothing of the product is left, and nothing else was touched.
    EXPECT_TRUE(zu_test::uninstall_key_values().empty());
    EXPECT_FALSE(zu_test::class_default(zu::kProjectExtension).has_value());
    EXPECT_FALSE(zu::ReadInstallationRecord().installed);
    const zu_test::Snapshot driveAfter = zu_test::drive_listing();
    const zu_test::Snapshot registryAfter = zu_test::registry_listing();
    EXPECT_EQ(driveBefore, driveAfter) << zu_test::difference(driveBefore, driveAfter);
    EXPECT_EQ(registryBefore, registryAfter) << zu_test::difference(registryBefore, registryAfter);
    if (std::getenv("ZU_E2E_ACCOUNT") && driveBefore == driveAfter && registryBefore == registryAfter) {
        std::printf("== After Uninstall.exe /quiet: nothing of the product left, the drive (%zu entries) and the "
                    "registry (%zu lines) as before the installation\n",
                    driveAfter.size(), registryAfter.size());
    }
}

}  // namespace
