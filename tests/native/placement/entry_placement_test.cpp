// The entry handlers driven by a real extraction: what is written, kept or left out, what the
// journal records, what the page shows, and the temporary files' clean-up after success and
// failure.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/payload_archive.hpp"
#include "engine/entry_placement.hpp"
#include "engine/path_quoting.hpp"
#include "i18n/language_state.hpp"
#include "journal/journal_fixture.hpp"
#include "native/common/recording_view.hpp"
#include "payload/extract_payload.hpp"
#include "payload/resource_stream.hpp"

using namespace zu;
using zu::test::archive_file;
using result = notification::result;

namespace {

mode_t Mode(const std::wstring& path) {
    struct stat st {};
    return ::stat(journal_test::Utf8(path).c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

void SetMode(const std::wstring& path, mode_t mode) { ASSERT_EQ(::chmod(journal_test::Utf8(path).c_str(), mode), 0); }

class EntryPlacementTest : public journal_test::JournalTest {
protected:
    void SetUp() override {
        JournalTest::SetUp();
        set_language(kEnglish);
        // A blank in the installation folder, as in the default "Mobrix 6".
        context.installFolder = P(L"Quillon/Mobrix 6");
        context.tempFolder = P(L"quillon_{setup}");
    }

    // Runs an extraction of files as the install sequence does: the handlers answer begin_entry
    // and end_entry; a failure settles the pending record as not done.
    bool Extract(const std::vector<archive_file>& files, TemporaryFileList& temporaryFiles) {
        EntryPlacement placement(view, log, context, temporaryFiles, mainProgram, uninstaller);
        const std::string compressed = zu::test::bzip2(zu::test::raw_archive(files));
        imemstream source = open_resource_stream(compressed.data(), compressed.size());
        const destination_roots roots{context.installFolder, L"", context.tempFolder};
        return extract_payload(source, roots, [&](const notification& n) {
            if (const auto* b = std::get_if<notification::begin_entry>(&n.value)) return placement.OnBeginEntry(b->entry);
            if (const auto* e = std::get_if<notification::end_entry>(&n.value)) return placement.OnEndEntry(e->entry);
            if (std::holds_alternative<notification::error>(n.value)) log.Complete(false);
            return result::proceed;
        });
    }

    std::wstring Installed(const std::wstring& rest) const { return context.installFolder + L"/" + rest; }

    // An earlier installation whose log lists these shared data files as placed.
    void EarlierInstallationOf(const std::vector<std::wstring>& sharedFiles) {
        CUninstallLog earlier;
        for (const std::wstring& file : sharedFiles) {
            earlier.BeginFile(file, 3, true);
            earlier.Complete(true);
        }
        const std::wstring logPath = P(L"earlier.ulog");
        ASSERT_TRUE(earlier.Write(logPath, context.installFolder, P(L"menu")));
        log.Read(logPath);
        for (const std::wstring& file : sharedFiles) ASSERT_TRUE(log.WasInstalledBefore(file));
    }

    InstallContext context;
    zu_test::RecordingView view;
    CUninstallLog log;
    std::wstring mainProgram;
    std::wstring uninstaller;
};

std::vector<archive_file> EveryKind() {
    using zu::test::pattern_bytes;
    return {
        {L"C:\\b\\Mobrix.exe", L"<InstallPath>", pattern_bytes(3000, 1), 1},
        {L"C:\\b\\Uninstall.exe", L"<InstallPath>", pattern_bytes(2000, 2), 2},
        {L"C:\\b\\lang.dll", L"<InstallPath>\\Lang", pattern_bytes(500, 3), 0},
        {L"C:\\b\\palette.dat", L"<InstallPath>\\Data", "shared palette", 3},
        {L"C:\\b\\brick.mbx", L"<InstallPath>\\Samples", "sample project", 4},
        {L"C:\\dx\\DSETUP.dll", L"<Temporary>", "setup library", 5},
        {L"C:\\dx\\dxupdate.cab", L"<Temporary>", "cabinet", 5},
    };
}

}  // namespace

TEST_F(EntryPlacementTest, FreshInstallationPlacesJournalsAndShowsEveryEntry) {
    TemporaryFileList temporaryFiles(context.tempFolder);
    ASSERT_TRUE(Extract(EveryKind(), temporaryFiles));

    EXPECT_EQ(journal_test::Utf8(mainProgram), journal_test::Utf8(Installed(L"Mobrix.exe")));
    EXPECT_EQ(journal_test::Utf8(uninstaller), journal_test::Utf8(Installed(L"Uninstall.exe")));
    const std::wstring dx = context.tempFolder + L"/DSETUP.dll", cab = context.tempFolder + L"/dxupdate.cab";
    EXPECT_EQ(temporaryFiles.files(), (std::vector<std::wstring>{dx, cab}));

    // Every entry but the temporary files is journaled, done, with its kind.
    std::vector<std::pair<std::wstring, int>> recorded;
    for (const LogEntry& e : log.currentEntries())
        if (e.kind == LogEntryKind::File) {
            EXPECT_TRUE(e.done) << journal_test::Utf8(e.text);
            recorded.emplace_back(e.text, e.detail);
        }
    EXPECT_EQ(recorded, (std::vector<std::pair<std::wstring, int>>{{Installed(L"Mobrix.exe"), 1},
                                                                    {Installed(L"Uninstall.exe"), 2},
                                                                    {Installed(L"Lang/lang.dll"), 0},
                                                                    {Installed(L"Data/palette.dat"), 3},
                                                                    {Installed(L"Samples/brick.mbx"), 4}}));
    EXPECT_FALSE(log.pending());

    // One "Copying File" line per entry, each ended by "OK"; the paths with a blank quoted.
    const std::vector<std::wstring> destinations = {Installed(L"Mobrix.exe"),      Installed(L"Uninstall.exe"),
                                                    Installed(L"Lang/lang.dll"),   Installed(L"Data/palette.dat"),
                                                    Installed(L"Samples/brick.mbx"), dx, cab};
    std::vector<std::wstring> expected;
    for (const std::wstring& d : destinations) expected.push_back(L"Copying File  " + QuoteSpaces(d) + L"...OK");
    EXPECT_EQ(view.lines(), expected);
    EXPECT_EQ(view.lines()[0].substr(0, 15), L"Copying File  \"") << "a path with a blank is quoted";
    EXPECT_EQ(view.lines()[5], L"Copying File  " + dx + L"...OK") << "one without a blank is not";
    EXPECT_EQ(view.count(zu_test::RecordingView::Call::progressPathText), destinations.size());
    EXPECT_EQ(view.progressText(), L"Copying File  " + cab + L"...");

    // Shared data is opened to every user once written.
    EXPECT_EQ(Mode(Installed(L"Data/palette.dat")) & 0666, 0666u);

    temporaryFiles.Clean();
    EXPECT_FALSE(Exists(dx));
    EXPECT_FALSE(Exists(cab));
    EXPECT_FALSE(Exists(P(L"quillon_{setup}"))) << "the emptied temporary folder goes too";
    EXPECT_TRUE(temporaryFiles.files().empty());
    EXPECT_TRUE(temporaryFiles.folder().empty());
}

TEST_F(EntryPlacementTest, TemporaryFilesGoAfterAFailedExtractionButNotForeignOnes) {
    auto files = EveryKind();
    std::vector<archive_file> ordered = {files[5], files[6], files[0]};
    std::string raw = zu::test::raw_archive(ordered);
    raw.back() ^= 1;  // the last file fails its checksum, after the temporary files were written
    const std::string compressed = zu::test::bzip2(raw);
    {
        TemporaryFileList temporaryFiles(context.tempFolder);
        EntryPlacement placement(view, log, context, temporaryFiles, mainProgram, uninstaller);
        imemstream source = open_resource_stream(compressed.data(), compressed.size());
        const bool ok = extract_payload(source, {context.installFolder, L"", context.tempFolder}, [&](const notification& n) {
            if (const auto* b = std::get_if<notification::begin_entry>(&n.value)) return placement.OnBeginEntry(b->entry);
            if (const auto* e = std::get_if<notification::end_entry>(&n.value)) return placement.OnEndEntry(e->entry);
            return result::proceed;
        });
        ASSERT_FALSE(ok);
        ASSERT_EQ(temporaryFiles.files().size(), 2u);
        ASSERT_TRUE(Exists(context.tempFolder + L"/DSETUP.dll"));
        temporaryFiles.Clean();
        EXPECT_FALSE(Exists(context.tempFolder));
    }

    // A folder holding something the installation did not put there stays, with that file.
    MakeFolder(context.tempFolder);
    WriteBytes(context.tempFolder + L"/mine.txt", "x");
    WriteBytes(context.tempFolder + L"/DSETUP.dll", "y");
    {
        TemporaryFileList temporaryFiles(context.tempFolder);
        temporaryFiles.Add(context.tempFolder + L"/DSETUP.dll");
        temporaryFiles.Add(context.tempFolder + L"/never-written.cab");  // errors are ignored
    }  // a list that goes away cleans up too
    EXPECT_FALSE(Exists(context.tempFolder + L"/DSETUP.dll"));
    EXPECT_TRUE(Exists(context.tempFolder + L"/mine.txt"));
}

TEST_F(EntryPlacementTest, ReinstallationKeepsSharedDataTheEarlierLogKnowsEvenWhenChangedOrDeleted) {
    context.installState = SameVersion;
    const std::wstring changed = Installed(L"Data/changed.dat"), deleted = Installed(L"Data/deleted.dat");
    MakeFolder(P(L"Quillon"));
    MakeFolder(context.installFolder);
    MakeFolder(Installed(L"Data"));
    WriteBytes(changed, "the user's own palette");
    SetMode(changed, 0600);
    EarlierInstallationOf({changed, deleted});

    TemporaryFileList temporaryFiles(context.tempFolder);
    ASSERT_TRUE(Extract({{L"C:\\b\\changed.dat", L"<InstallPath>\\Data", "shipped palette", 3},
                         {L"C:\\b\\deleted.dat", L"<InstallPath>\\Data", "shipped brushes", 3},
                         {L"C:\\b\\brick.mbx", L"<InstallPath>\\Samples", "sample", 4}},
                        temporaryFiles));

    EXPECT_EQ(ReadBytes(changed), "the user's own palette");
    EXPECT_FALSE(Exists(deleted)) << "a file the user removed is not brought back";
    EXPECT_EQ(Mode(changed) & 0666, 0666u) << "users' access is granted anew";
    ASSERT_EQ(log.currentEntries().size(), 2u) << "only the Samples folder and the sample are recorded";
    EXPECT_EQ(log.currentEntries()[1].text, Installed(L"Samples/brick.mbx"));
    EXPECT_EQ(view.lines(), (std::vector<std::wstring>{L"Copying File  " + QuoteSpaces(Installed(L"Samples/brick.mbx")) + L"...OK"}))
        << "kept files show nothing";
}

TEST_F(EntryPlacementTest, SharedDataPresentButUnknownIsKeptAndRecordedAtOnceWithABackup) {
    for (int state : {NotInstalled, OlderInstalled}) {
        SCOPED_TRACE(state);
        context.installState = state;
        CUninstallLog fresh;
        std::swap(log, fresh);
        const std::wstring present = Installed(L"Data/present.dat");
        if (!Exists(present)) {
            MakeFolder(P(L"Quillon"));
            MakeFolder(context.installFolder);
            MakeFolder(Installed(L"Data"));
            WriteBytes(present, "found there");
        }
        SetMode(present, 0600);

        TemporaryFileList temporaryFiles(context.tempFolder);
        ASSERT_TRUE(Extract({{L"C:\\b\\present.dat", L"<InstallPath>\\Data", "shipped", 3}}, temporaryFiles));

        EXPECT_EQ(ReadBytes(present), "found there");
        EXPECT_EQ(Mode(present) & 0666, 0666u);
        ASSERT_EQ(log.currentEntries().size(), 1u);
        const LogEntry& e = log.currentEntries()[0];
        EXPECT_EQ(e.kind, LogEntryKind::File);
        EXPECT_EQ(e.text, present);
        EXPECT_EQ(e.detail, 3);
        EXPECT_TRUE(e.done);
        ASSERT_FALSE(e.backupPath.empty()) << "backed up by copy";
        EXPECT_EQ(ReadBytes(e.backupPath), "found there");
        EXPECT_TRUE(view.lines().empty());
    }
}

TEST_F(EntryPlacementTest, UpdateLeavesSamplesOutSilently) {
    context.installState = OlderInstalled;
    TemporaryFileList temporaryFiles(context.tempFolder);
    ASSERT_TRUE(Extract(EveryKind(), temporaryFiles));
    EXPECT_FALSE(Exists(Installed(L"Samples/brick.mbx")));
    for (const std::wstring& line : view.lines()) EXPECT_EQ(line.find(L"brick"), std::wstring::npos);
    EXPECT_EQ(view.lines().size(), 6u);
    EXPECT_TRUE(Exists(Installed(L"Data/palette.dat"))) << "absent shared data is placed in an update";
}

TEST(PathQuoting, BlanksQuoteAndTheBufferBounds) {
    EXPECT_EQ(QuoteSpaces(L"C:\\Program Files\\Quillon"), L"\"C:\\Program Files\\Quillon\"");
    EXPECT_EQ(QuoteSpaces(L"C:\\Quillon\\Mobrix.exe"), L"C:\\Quillon\\Mobrix.exe");
    EXPECT_EQ(QuoteSpaces(L""), L"");
    const std::wstring noRoom = L" " + std::wstring(256, L'a'), tooLong(258, L'a');
    EXPECT_EQ(QuoteSpaces(L" " + std::wstring(255, L'a')).size(), 258u) << "256 characters and their quotes";
    EXPECT_EQ(QuoteSpaces(noRoom), noRoom) << "no room for the quotes: left as it is";
    EXPECT_EQ(QuoteSpaces(tooLong + tooLong), (tooLong + tooLong).substr(0, 259)) << "cut to the buffer";
}
