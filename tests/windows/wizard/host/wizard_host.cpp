// The installer's wizard with a chosen install state and a stand-in install sequence, for the
// driver tests: the real sequence is not what they exercise.
//   wizard_host.exe STATE [VERSION] [succeed|fail]
// STATE is reached through the real detection: the host writes the installation record of a
// stand-in product of the matching version (none, no executable, 6.5.7.9 or 6.5.8.2) before the
// start-up runs and removes it at the end. VERSION is what the detection then finds; the host
// only shows it, the tests compare it.
#include <cstdlib>
#include <string>

#include "app/install_app.hpp"
#include "engine/install_sequence.hpp"
#include "i18n/messages.hpp"
#include "common/wine_paths.hpp"
#include "support/windows_api.hpp"
#include "system/installation_record.hpp"

namespace {
bool g_succeed = true;
}

// Writes the lines a short installation would, through the page, and answers as asked.
bool RunInstallation(zu::InstallView& view, zu::CInstallApp&) {
    view.AppendLog(L"", true);
    view.BeginWaitCursor();
    view.SetProgressText(LoadMessage(zu::MessageId(114)));
    view.AppendLog(LoadMessage(zu::MessageId(114)), false);
    view.AppendLog(LoadMessage(zu::MessageId(11)) + L"\r\n", false);
    view.ShowProgressBar(true);
    view.SetProgressPosition(g_succeed ? 100 : 40);
    view.EndWaitCursor();
    if (!g_succeed) {
        view.SetProgressText(FormatMessageText(zu::MessageId(121), {L"7"}));
        return false;
    }
    view.SetProgressText(FormatMessageText(zu::MessageId(106), {LoadMessage(zu::MessageId(6))}));
    return true;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const int state = count > 1 ? std::wcstol(args[1], nullptr, 10) : 0;
    if (count > 3) g_succeed = std::wstring(args[3]) != L"fail";
    ::LocalFree(args);
    switch (state) {
    case zu::SameVersion:
        zu::WriteInstallationRecord(L"");
        break;
    case zu::OlderInstalled:
        zu::WriteInstallationRecord(zu_test::windows_path_of(ZU_STANDIN_OLDER_EXE));
        break;
    case zu::NewerInstalled:
        zu::WriteInstallationRecord(zu_test::windows_path_of(ZU_STANDIN_NEWER_EXE));
        break;
    default:
        zu::DeleteInstallationRecord();
    }
    zu::CInstallApp app;
    app.InitInstance();
    zu::DeleteInstallationRecord();
    return 0;
}
