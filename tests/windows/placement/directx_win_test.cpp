// The DirectX step against the setup library's test double, loaded from a temporary folder as
// the installation places it: the version test, the setup's answers, the callback's pump and
// the skip rules of updates and reinstallations.
#include <gtest/gtest.h>

#include <sstream>

#include "common/wine_paths.hpp"
#include "engine/directx_step.hpp"
#include "i18n/messages.hpp"
#include "native/common/recording_view.hpp"
#include "placement_fixture.hpp"
#include "support/wide_path.hpp"
#include "system/directx_setup.hpp"

using namespace zu;
using placement_test::PlacementWinTest;

namespace {

const wchar_t* const kSettings[] = {L"ZU_DSETUP_VERSION",       L"ZU_DSETUP_REVISION", L"ZU_DSETUP_VERSION_FAILS",
                                    L"ZU_DSETUP_PROGRESS_CALLS", L"ZU_DSETUP_RESULT",   L"ZU_DSETUP_TRACE"};

class DirectXWinTest : public PlacementWinTest {
protected:
    void SetUp() override {
        PlacementWinTest::SetUp();
        context.tempFolder = P(L"quillon_{5b0c3ad4-0a66-4b7e-9c1f-5e3ce1a0d7b2}");
        MakeFolder(context.tempFolder);
        for (const wchar_t* name : kSettings) ::SetEnvironmentVariableW(name, nullptr);
        ::SetEnvironmentVariableW(L"ZU_DSETUP_TRACE", TracePath().c_str());
    }
    void TearDown() override {
        for (const wchar_t* name : kSettings) ::SetEnvironmentVariableW(name, nullptr);
        PlacementWinTest::TearDown();
    }

    // The setup files as the placement leaves them in the temporary folder.
    void PlaceLibrary(const char* library = ZU_DSETUP_STANDIN) {
        ASSERT_TRUE(::CopyFileW(zu_test::windows_path_of(library).c_str(), (context.tempFolder + L"\\DSETUP.dll").c_str(), FALSE));
        ASSERT_TRUE(::CopyFileW(zu_test::windows_path_of(ZU_DSETUP32_STANDIN).c_str(),
                                (context.tempFolder + L"\\dsetup32.dll").c_str(), FALSE));
    }
    static void Set(const wchar_t* name, const wchar_t* value) { ::SetEnvironmentVariableW(name, value); }

    std::wstring TracePath() const { return P(L"dsetup-trace.txt"); }
    std::vector<std::string> Trace() const {
        std::vector<std::string> lines;
        std::istringstream in(placement_test::ReadFileBytes(TracePath()));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // An earlier installation whose log says the DirectX setup succeeded.
    void EarlierDirectXDone() {
        CUninstallLog earlier;
        earlier.BeginDirectX();
        earlier.Complete(true, LoadMessage(MessageId(131)));
        ASSERT_TRUE(earlier.Write(P(L"earlier.ulog"), P(L""), P(L"")));
        log.Read(P(L"earlier.ulog"));
        ASSERT_TRUE(log.EarlierSucceeded(LogEntryKind::DirectX));
    }

    InstallContext context;
    zu_test::RecordingView view;
    CUninstallLog log;
};

}  // namespace

TEST_F(DirectXWinTest, SetupAnswersZeroAndOneSucceedTwoFails) {
    const std::wstring title = LoadMessage(MessageId(131));
    EXPECT_EQ(title, L"Mise \u00e0 jour de DirectX...") << "only the French block has the text";
    PlaceLibrary();
    const struct {
        const wchar_t* answer;
        DirectXStepOutcome outcome;
        const wchar_t* line;
    } rows[] = {
        {L"0", DirectXStepOutcome::succeeded, L"OK"},
        {L"1", DirectXStepOutcome::succeeded, L"OK"},
        {L"2", DirectXStepOutcome::failed, L"Failed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(to_utf8(row.answer));
        ::DeleteFileW(TracePath().c_str());
        Set(L"ZU_DSETUP_RESULT", row.answer);
        zu_test::RecordingView view;
        CUninstallLog log;
        EXPECT_EQ(RunDirectXStep(view, log, context), row.outcome);
        EXPECT_EQ(view.log(), title + row.line + L"\r\n");
        EXPECT_EQ(view.progressText(), title);
        EXPECT_EQ(view.pumps(), 3) << "the view breathes on every progress callback";
        ASSERT_EQ(log.currentEntries().size(), 1u);
        EXPECT_EQ(log.currentEntries()[0].kind, LogEntryKind::DirectX);
        EXPECT_EQ(log.currentEntries()[0].done, row.outcome == DirectXStepOutcome::succeeded);
        EXPECT_EQ(log.currentEntries()[0].text, title);

        const std::vector<std::string> trace = Trace();
        ASSERT_EQ(trace.size(), 6u);
        EXPECT_EQ(trace[0], "version 0x00040009 904");
        EXPECT_EQ(trace[1], "callback set");
        EXPECT_EQ(trace[2], "setup flags=0x00010018 parent=0 companion=1 folder=" + to_utf8(context.tempFolder));
        for (int i = 3; i < 6; ++i) EXPECT_EQ(trace[static_cast<std::size_t>(i)], "progress 18 answered 1");
    }
}

TEST_F(DirectXWinTest, TooOldOrSilentDirectXIsSkippedWithoutATrace) {
    PlaceLibrary();
    for (const auto& [variable, value] : {std::pair{L"ZU_DSETUP_REVISION", L"902"}, std::pair{L"ZU_DSETUP_VERSION", L"0x00040008"},
                                          std::pair{L"ZU_DSETUP_VERSION_FAILS", L"1"}}) {
        SCOPED_TRACE(to_utf8(variable));
        Set(variable, value);
        EXPECT_FALSE(DirectXSetupLibrary(context.tempFolder).loaded());
        EXPECT_EQ(RunDirectXStep(view, log, context), DirectXStepOutcome::skipped);
        Set(variable, nullptr);
    }
    EXPECT_TRUE(view.calls().empty());
    EXPECT_TRUE(log.currentEntries().empty());
    for (const std::string& line : Trace()) EXPECT_EQ(line.find("setup"), std::string::npos) << line;
    // The library was released: the folder can be removed at the end of the installation.
    EXPECT_TRUE(::DeleteFileW((context.tempFolder + L"\\DSETUP.dll").c_str()));
}

TEST_F(DirectXWinTest, NoLibraryInTheFolderIsSkippedSilently) {
    EXPECT_EQ(RunDirectXStep(view, log, context), DirectXStepOutcome::skipped);
    EXPECT_TRUE(view.calls().empty());
    EXPECT_TRUE(log.currentEntries().empty());
}

TEST_F(DirectXWinTest, MissingSetupEntryPointFailsTheStep) {
    PlaceLibrary(ZU_DSETUP_STANDIN_WITHOUT_SETUP);
    EXPECT_EQ(RunDirectXStep(view, log, context), DirectXStepOutcome::failed);
    EXPECT_EQ(view.lines().back(), L"Mise \u00e0 jour de DirectX...Failed");
    ASSERT_EQ(log.currentEntries().size(), 1u);
    EXPECT_FALSE(log.currentEntries()[0].done);
    EXPECT_TRUE(::DeleteFileW((context.tempFolder + L"\\DSETUP.dll").c_str())) << "released after the step";
}

TEST_F(DirectXWinTest, UpdateSkipsASucceededSetupSameVersionRunsItAgain) {
    PlaceLibrary();
    EarlierDirectXDone();
    context.installState = OlderInstalled;
    EXPECT_EQ(RunDirectXStep(view, log, context), DirectXStepOutcome::skipped);
    EXPECT_TRUE(view.calls().empty());
    EXPECT_TRUE(log.currentEntries().empty());
    EXPECT_TRUE(Trace().size() == 1u && Trace()[0].rfind("version", 0) == 0) << "loaded, tested, not run";

    context.installState = SameVersion;
    EXPECT_EQ(RunDirectXStep(view, log, context), DirectXStepOutcome::succeeded);
    ASSERT_EQ(log.currentEntries().size(), 1u);
    EXPECT_TRUE(log.currentEntries()[0].done);
}

TEST_F(DirectXWinTest, WithoutAPumpTheCallbackDispatchesTheThreadsMessagesAndKeepsAQuit) {
    PlaceLibrary();
    static int probes = 0;
    probes = 0;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        if (message == WM_APP) ++probes;
        return ::DefWindowProcW(window, message, w, l);
    };
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ZuDirectXPumpProbe";
    ::RegisterClassW(&windowClass);
    HWND probe = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   windowClass.hInstance, nullptr);
    ASSERT_NE(probe, nullptr);
    ::PostMessageW(probe, WM_APP, 0, 0);
    ::PostMessageW(probe, WM_APP, 0, 0);
    ::PostQuitMessage(7);

    DirectXSetupLibrary library(context.tempFolder);
    ASSERT_TRUE(library.loaded());
    EXPECT_TRUE(library.Run(probe));
    EXPECT_EQ(probes, 2);
    MSG quit{};
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is posted again for the main loop";
    EXPECT_EQ(quit.wParam, 7u);
    EXPECT_EQ(Trace()[2].rfind("setup flags=0x00010018 parent=1 ", 0), 0u) << "the owner window reaches the setup";
    ::DestroyWindow(probe);
}

TEST(DirectXStandIn, ItsVersionResourceSaysItIsATestDouble) {
    for (const char* library : {ZU_DSETUP_STANDIN, ZU_DSETUP_STANDIN_WITHOUT_SETUP, ZU_DSETUP32_STANDIN}) {
        const std::wstring path = zu_test::windows_path_of(library);
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_NE(size, 0u) << library;
        std::vector<BYTE> block(size);
        ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
        for (const wchar_t* field : {L"\\StringFileInfo\\040904B0\\FileDescription", L"\\StringFileInfo\\040904B0\\ProductName"}) {
            wchar_t* text = nullptr;
            UINT length = 0;
            ASSERT_TRUE(::VerQueryValueW(block.data(), field, reinterpret_cast<void**>(&text), &length)) << to_utf8(field);
            const std::wstring value(text, length ? length - 1 : 0);
            EXPECT_NE(value.find(L"est and demo double"), std::wstring::npos) << to_utf8(value);
        }
    }
}
