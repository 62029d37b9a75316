// The install sequence on Windows: the executable's own payload, the registration run of
// the installed product through CreateProcessW, and the installer mutex around it.
#include "app/install_app.hpp"
#include "engine/install_sequence.hpp"
#include "engine/install_sequence_core.hpp"
#include "payload/resource_stream.hpp"
#include "support/application_window.hpp"
#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"

namespace {

// Waits for the process without a time limit, letting the page repaint meanwhile (its
// buttons stay disabled, so nothing else can start).
DWORD wait_servicing_messages(HANDLE process, zu::InstallView& view) {
    for (;;) {
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) return woken;
        view.PumpMessages();
    }
}

std::optional<std::uint32_t> run_registration(const std::wstring& commandLine, const std::wstring& workingFolder,
                                              zu::InstallView& view) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    if (!::CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, HIGH_PRIORITY_CLASS, nullptr,
                          workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process)) {
        return std::nullopt;
    }
    zu::unique_handle processHandle(process.hProcess), threadHandle(process.hThread);
    wait_servicing_messages(processHandle.get(), view);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(processHandle.get(), &exitCode);
    return exitCode;
}

}  // namespace

bool RunInstallation(zu::InstallView& view, zu::CInstallApp& app) {
    zu::InstallSequencePlatform platform;
    platform.openPayload = [] {
        return std::make_unique<zu::imemstream>(
            zu::open_resource_stream(zu::kPayloadResourceType, zu::kPayloadResourceName));
    };
    platform.runRegistration = [&view](const std::wstring& commandLine, const std::wstring& folder) {
        return run_registration(commandLine, folder, view);
    };
    platform.releaseInstallerMutex = [&app] { app.instanceGuard.release(); };
    platform.retakeInstallerMutex = [&app] { app.instanceGuard.try_lock(); };
    platform.notifyAssociationsChanged = [] { ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr); };
    platform.parentWindow = zu::application_safe_owner();
    return zu::RunInstallSequence(view, app.context, app.uninstallLog, platform);
}
