#include "engine/directx_step.hpp"

#include "i18n/messages.hpp"
#include "system/directx_setup.hpp"

namespace zu {

bool DirectXStepRuns(bool libraryLoaded, int installState, bool earlierSucceeded) {
    if (!libraryLoaded) return false;
    return installState == SameVersion || !earlierSucceeded;
}

DirectXStepOutcome RunDirectXStep(InstallView& view, CUninstallLog& log, const InstallContext& context,
                                  void* parentWindow) {
    DirectXSetupLibrary library(context.tempFolder);
    if (!DirectXStepRuns(library.loaded(), context.installState, log.EarlierSucceeded(LogEntryKind::DirectX)))
        return DirectXStepOutcome::skipped;

    log.BeginDirectX();
    const std::wstring title = LoadMessage(MessageId(131));
    view.SetProgressText(title);
    view.AppendLog(title, false);
    const bool ok = library.Run(parentWindow, [&view] { view.PumpMessages(); });
    log.Complete(ok, title);
    view.AppendLog(LoadMessage(MessageId(ok ? 11 : 12)) + L"\r\n", false);
    library.Release();
    return ok ? DirectXStepOutcome::succeeded : DirectXStepOutcome::failed;
}

}  // namespace zu
