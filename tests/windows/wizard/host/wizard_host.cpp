// The installer's wizard with a chosen install state and a stand-in install sequence, for the
// driver tests: the start-up detection and the real sequence are not what they exercise.
//   wizard_host.exe STATE [VERSION] [succeed|fail]
#include <cstdlib>
#include <string>

#include "app/install_app.hpp"
#include "engine/install_sequence.hpp"
#include "i18n/messages.hpp"
#include "support/windows_api.hpp"

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
    zu::CInstallApp app;
    if (count > 1) app.context.installState = std::wcstol(args[1], nullptr, 10);
    if (count > 2) app.context.installedVersion = args[2];
    if (count > 3) g_succeed = std::wstring(args[3]) != L"fail";
    ::LocalFree(args);
    app.InitInstance();
    return 0;
}
