// The install sequence run natively against a recording view and an archive in memory: the
// progress log line by line, every row of the failure table, and what stays on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/payload_archive.hpp"
#include "engine/install_rules.hpp"
#include "engine/install_sequence_core.hpp"
#include "i18n/language_state.hpp"
#include "journal/journal_fixture.hpp"
#include "native/common/recording_view.hpp"
#include "support/memstream.hpp"
#include "support/product_identity.hpp"
#include "system/registry_double.hpp"
#include "system/registry_layer.hpp"
#include "system/uninstall_registration.hpp"

using namespace zu;
using zu::test::archive_file;

namespace {

class InstallSequenceTest : public journal_test::JournalTest {
protected:
    void SetUp() override {
        JournalTest::SetUp();
        registry_layer::reset_store();
        registry_double::create_key(kUninstallParentKey);  // as every machine has it
        set_language(kEnglish);
        context.installFolder = P(L"Quillon/Mobrix 6");
        context.shortcutFolder = P(L"menu");
        context.menuShortcut = false;
        context.desktopShortcut = false;
        platform.openPayload = [this] { return std::make_unique<imemstream>(compressed.data(), compressed.size()); };
        platform.runRegistration = [this](const std::wstring& commandLine, const std::wstring& folder) {
            registrationCommand = commandLine;
            registrationFolder = folder;
            mutexHeldDuringRun = mutexHeld;
            return registrationExit;
        };
        platform.releaseInstallerMutex = [this] { mutexHeld = false; };
        platform.retakeInstallerMutex = [this] { mutexHeld = true; };
        platform.notifyAssociationsChanged = [this] { ++associationNotices; };
    }

    void TearDown() override {
        registry_layer::reset_store();
        JournalTest::TearDown();
    }

    void Payload(const std::vector<archive_file>& files) { compressed = zu::test::bzip2(zu::test::raw_archive(files)); }
    bool Run() { return RunInstallSequence(view, context, log, platform); }
    std::wstring Installed(const std::wstring& rest) const { return context.installFolder + L"/" + rest; }
    bool Exists(const std::wstring& path) const { return std::filesystem::exists(journal_test::Utf8(path)); }

    static std::vector<archive_file> SmallProduct() {
        using zu::test::pattern_bytes;
        return {
            {L"C:\\b\\Mobrix.exe", L"<InstallPath>", pattern_bytes(3000, 1), 1},
            {L"C:\\b\\Uninstall.exe", L"<InstallPath>", pattern_bytes(2000, 2), 2},
            {L"C:\\b\\Mobrix.de.dll", L"<InstallPath>\\Lang", pattern_bytes(500, 3), 0},
            {L"C:\\dx\\DSETUP.dll", L"<Temporary>", "setup library", 5},
        };
    }

    InstallContext context;
    CUninstallLog log;
    zu_test::RecordingView view;
    InstallSequencePlatform platform;
    std::string compressed;
    std::optional<std::uint32_t> registrationExit = 0xFFFFFFF6u;
    std::wstring registrationCommand, registrationFolder;
    bool mutexHeld = true, mutexHeldDuringRun = true;
    int associationNotices = 0;
};

TEST_F(InstallSequenceTest, FreshInstallationLogLineByLine) {
    Payload(SmallProduct());
    ASSERT_TRUE(Run());
    const std::wstring temp = context.tempFolder;
    const std::vector<std::wstring> expected{
        L"[separator: ]",
        L"Preparing Installation...OK",
        L"Copying File  \"" + Installed(L"Mobrix.exe") + L"\"...OK",
        L"Copying File  \"" + Installed(L"Uninstall.exe") + L"\"...OK",
        L"Copying File  \"" + Installed(L"Lang/Mobrix.de.dll") + L"\"...OK",
        L"Copying File  " + temp + L"/DSETUP.dll...OK",
        L"Registry Data Writing...OK",
        L"Installation Data Writing...OK",
    };
    EXPECT_EQ(view.lines(), expected);
    EXPECT_EQ(view.progressText(), L"Click on 'Next' to continue.");
    EXPECT_EQ(view.progressPosition(), 100);
    EXPECT_EQ(view.waitDepth(), 0);

    // The registration run: quoted path, its own folder, the mutex given up around it.
    EXPECT_EQ(registrationCommand, L"\"" + Installed(L"Mobrix.exe") + L"\" /Register /Background");
    EXPECT_EQ(registrationFolder, context.installFolder);
    EXPECT_FALSE(mutexHeldDuringRun);
    EXPECT_TRUE(mutexHeld);
    EXPECT_EQ(associationNotices, 1);

    // Both executables read-only, the log beside the uninstaller, the temporary folder gone.
    for (const wchar_t* executable : {L"Mobrix.exe", L"Uninstall.exe"}) {
        EXPECT_TRUE(*journal_platform::get_attributes(Installed(executable)) & journal_platform::kAttributeReadOnly);
    }
    CUninstallLog written;
    written.Read(Installed(L"Uninstall.ulog"));
    EXPECT_EQ(written.installPath(), context.installFolder);
    EXPECT_EQ(written.earlierEntries().size(), 8u);  // 2 folders, 3 files, key, registration, DirectX skipped
    EXPECT_TRUE(registry_double::key_exists(ProductIdentity::uninstallKey));
    EXPECT_FALSE(temp.empty());
    EXPECT_FALSE(Exists(temp));
}

TEST_F(InstallSequenceTest, LaterStepsOnlyMarkTheirLines) {
    Payload(SmallProduct());
    registrationExit = 0;  // the product did not register
    ASSERT_TRUE(Run());
    EXPECT_EQ(view.lines().at(6), L"Registry Data Writing...Failed");
    EXPECT_EQ(associationNotices, 0);
    registrationExit.reset();  // it could not even start
    ASSERT_TRUE(Run());
    EXPECT_EQ(view.lines().back(), L"Installation Data Writing...OK");
    EXPECT_EQ(view.lines().at(view.lines().size() - 2), L"Registry Data Writing...Failed");
    EXPECT_TRUE(mutexHeld);
}

// Each failure row: what the log ends with, the progress text, and that nothing is left placed.
TEST_F(InstallSequenceTest, FailureTableRowByRow) {
    const std::vector<archive_file> product = SmallProduct();
    std::string raw = zu::test::raw_archive(product);
    struct Row {
        const char* what;
        std::string compressed;
        std::vector<std::wstring> tail;  // the log's last lines; "Copying File*" stands for any file line
        std::wstring progressText;
    };
    std::string damaged = zu::test::bzip2(raw);
    damaged[damaged.size() / 2] ^= 0x55;
    std::string badChecksum = raw;
    badChecksum[badChecksum.size() - 20] ^= 0x01;  // inside the last data file, not the header
    const std::vector<Row> rows{
        {"damaged bzip2 data", damaged, {L"Preparing Installation...Failed"}, L"Installation failed (Error Code 4)."},
        {"checksum mismatch", zu::test::bzip2(badChecksum), {L"Copying File*Failed"}, L"Installation failed (Error Code 3)."},
        {"one byte short", zu::test::bzip2(raw.substr(0, raw.size() - 1)), {L"Copying File*Failed"},
         L"Installation failed (Error Code 7)."},
        {"empty payload", "", {L"Preparing Installation...OK", L"Failed"}, L"Installation failed (Error Code 7)."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        compressed = row.compressed;
        zu_test::RecordingView fresh;
        EXPECT_FALSE(RunInstallSequence(fresh, context, log, platform));
        const std::vector<std::wstring> lines = fresh.lines();
        ASSERT_GE(lines.size(), row.tail.size());
        EXPECT_TRUE(std::equal(row.tail.rbegin(), row.tail.rend(), lines.rbegin(),
                               [](const std::wstring& want, const std::wstring& got) {
                                   const auto star = want.find(L'*');
                                   if (star == std::wstring::npos) return want == got;
                                   const std::wstring head = want.substr(0, star), tail = want.substr(star + 1);
                                   return got.size() >= want.size() - 1 && got.rfind(head, 0) == 0 &&
                                          got.compare(got.size() - tail.size(), tail.size(), tail) == 0;
                               }))
            << testing::PrintToString(lines);
        EXPECT_EQ(fresh.progressText(), row.progressText);
        EXPECT_FALSE(Exists(context.installFolder)) << "rolled back: nothing placed stays";
        EXPECT_FALSE(Exists(context.tempFolder));
        EXPECT_EQ(fresh.waitDepth(), 0);
    }
}

TEST_F(InstallSequenceTest, AFileThatCannotBePlacedShowsItsSystemCode) {
    Payload(SmallProduct());
    // A file where the Lang folder must go.
    std::filesystem::create_directories(journal_test::Utf8(context.installFolder));
    WriteBytes(Installed(L"Lang"), "in the way");
    EXPECT_FALSE(Run());
    EXPECT_EQ(view.lines().back().rfind(L"Copying File  \"" + Installed(L"Lang/Mobrix.de.dll") + L"\"...Failed", 0), 0u);
    EXPECT_EQ(view.progressText().rfind(L"Installation failed (Error Code 2:000000", 0), 0u) << view.progressText();
    EXPECT_FALSE(Exists(Installed(L"Mobrix.exe")));  // rolled back
    EXPECT_TRUE(Exists(Installed(L"Lang")));         // what was there before stays
}

TEST_F(InstallSequenceTest, NoTemporaryFolderEndsBeforeAnythingHappens) {
    ::setenv("TMPDIR", std::string(250, 'x').insert(0, "/").c_str(), 1);
    Payload(SmallProduct());
    EXPECT_FALSE(Run());
    const std::vector<std::wstring> expected{L"[separator: ]", L"Installation failed (Error Code 00000000 (GetTempPath))."};
    EXPECT_EQ(view.lines(), expected);
    EXPECT_EQ(view.progressText(), expected.back());
    EXPECT_FALSE(view.progressBarVisible());
    EXPECT_FALSE(Exists(context.installFolder));
}

// Something already at the temporary folder's path (a folder someone made, a link to another
// folder) ends the run before anything is placed, with the temporary-folder failure text, and
// what was there is left alone.
TEST_F(InstallSequenceTest, AnythingAtTheTemporaryFolderPathRefusesTheInstallation) {
    Payload(SmallProduct());
    const std::wstring path = P(L"quillon_{00000000-0000-4000-8000-000000000000}");
    platform.makeTempFolderPath = [&] { return TempFolderPathResult{true, path}; };
    MakeFolder(P(L"elsewhere"));
    struct { const char* what; std::function<void()> make; } cases[] = {
        {"folder", [&] { MakeFolder(path); }},
        {"link to a folder", [&] { ASSERT_EQ(::symlink(journal_test::Utf8(P(L"elsewhere")).c_str(), journal_test::Utf8(path).c_str()), 0); }},
        {"dangling link", [&] { ASSERT_EQ(::symlink("nowhere", journal_test::Utf8(path).c_str()), 0); }},
    };
    for (const auto& c : cases) {
        c.make();
        EXPECT_FALSE(Run()) << c.what;
        EXPECT_EQ(view.lines().back().rfind(L"Installation failed (Error Code ", 0), 0u) << c.what;
        EXPECT_NE(view.lines().back().find(L" (CreateDirectory))."), std::wstring::npos) << c.what;
        EXPECT_FALSE(view.progressBarVisible()) << c.what;
        EXPECT_FALSE(Exists(context.installFolder)) << c.what;
        EXPECT_TRUE(List(journal_test::Utf8(P(L"elsewhere"))).empty()) << c.what;
        EXPECT_TRUE(journal_test::JournalTest::Exists(path)) << c.what << ": left as it was";
        std::filesystem::remove(journal_test::Utf8(path));
    }
}

// The run makes its temporary folder itself, for the owner only, and the journal's backups of
// replaced files pass through it rather than the user's temporary folder.
TEST_F(InstallSequenceTest, TheTemporaryFolderIsTheRunsOwnAndHoldsTheBackups) {
    Payload(SmallProduct());
    std::filesystem::create_directories(journal_test::Utf8(Installed(L"")));
    WriteBytes(Installed(L"Mobrix.exe"), "earlier program");
    const std::wstring path = P(L"quillon_{00000000-0000-4000-8000-000000000001}");
    platform.makeTempFolderPath = [&] { return TempFolderPathResult{true, path}; };
    unsigned mode = 0;
    std::vector<std::string> backupsDuringRun;
    platform.runRegistration = [&](const std::wstring&, const std::wstring&) -> std::optional<std::uint32_t> {
        struct stat st{};
        if (::stat(journal_test::Utf8(path).c_str(), &st) == 0) mode = st.st_mode & 0777;
        backupsDuringRun = List(journal_test::Utf8(path));
        return registrationExit;
    };
    EXPECT_TRUE(Run());
    EXPECT_EQ(mode, 0700u);
    // The folder also holds the run's temporary files; directory order is not fixed.
    EXPECT_TRUE(std::any_of(backupsDuringRun.begin(), backupsDuringRun.end(),
                            [](const std::string& name) { return name.rfind("zu", 0) == 0; }))
        << testing::PrintToString(backupsDuringRun);
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_FALSE(Exists(path));  // removed at the end
}

TEST_F(InstallSequenceTest, SecondRunAfterAFailureStartsANewSection) {
    compressed = "";
    EXPECT_FALSE(Run());
    Payload(SmallProduct());
    EXPECT_TRUE(Run());
    std::size_t separators = 0, preparing = 0;
    for (const std::wstring& line : view.lines()) {
        separators += line == L"[separator: ]";
        preparing += line.rfind(L"Preparing Installation...", 0) == 0;
    }
    EXPECT_EQ(separators, 2u);
    EXPECT_EQ(preparing, 2u);
}

TEST(InstallRules, ProgressPercentAndVersionComparison) {
    EXPECT_EQ(progress_percent(995, 1000), 99);
    EXPECT_EQ(progress_percent(1000, 1000), 100);
    EXPECT_EQ(progress_percent(994, 1000), 99);
    EXPECT_EQ(progress_percent(5, 1000), 1);
    EXPECT_EQ(progress_percent(0, 1000), 0);
    const std::uint64_t own = 0x0006000500080001ull;
    EXPECT_EQ(install_state_for(own, 0), 1);
    EXPECT_EQ(install_state_for(own, 0x0006000500080002ull), -1);
    EXPECT_EQ(install_state_for(own, own), 1);
    EXPECT_EQ(install_state_for(own, 0x0006000500070009ull), 2);
    EXPECT_EQ(install_state_for(own, 0x0005000000000000ull), 2);
}

}  // namespace
