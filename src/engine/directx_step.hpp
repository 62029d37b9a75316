// The DirectX step of the install sequence: the setup library placed in the temporary folder
// is loaded and run, unless it cannot be used or an update finds it already ran successfully.
#pragma once

#include "app/install_context.hpp"
#include "engine/install_view.hpp"
#include "system/uninstall_log.hpp"

namespace zu {

enum class DirectXStepOutcome { skipped, succeeded, failed };

// The skip rule: nothing to run without a usable library; a reinstallation of the same version
// always runs it again (the user may be repairing); otherwise an earlier successful setup is
// not repeated.
bool DirectXStepRuns(bool libraryLoaded, int installState, bool earlierSucceeded);

// Loads the library from context.tempFolder. A skipped step shows nothing and records nothing.
// Otherwise the step is recorded in log (its text: the message shown), shown as progress text
// and in the progress log, run with parentWindow (an HWND or null) as owner while the view
// pumps its messages on every progress callback, and its line ended with "OK" or "Failed".
// The library is released before the call returns. A failure stops nothing.
DirectXStepOutcome RunDirectXStep(InstallView& view, CUninstallLog& log, const InstallContext& context,
                                  void* parentWindow = nullptr);

}  // namespace zu
