// The install sequence over the few services it needs of the system, so that the whole run
// can be driven natively against a recording view and an archive in memory. The Windows
// build gives it the executable's payload resource, CreateProcessW and the installer mutex.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>

#include "app/install_context.hpp"
#include "engine/install_view.hpp"
#include "payload/special_folders.hpp"
#include "system/temp_folder_path.hpp"
#include "system/uninstall_log.hpp"

namespace zu {

struct InstallSequencePlatform {
    // The compressed payload; an empty stream when there is none.
    std::function<std::unique_ptr<std::istream>()> openPayload;
    // Starts the installed product with commandLine in workingFolder, not activated, at high
    // priority, and waits for it: its exit code, or nullopt when it could not be started.
    std::function<std::optional<std::uint32_t>(const std::wstring& commandLine, const std::wstring& workingFolder)>
        runRegistration;
    // The installer mutex is given up while the product runs, then taken back without waiting.
    std::function<void()> releaseInstallerMutex;
    std::function<void()> retakeInstallerMutex;
    // Tells the shell that file associations changed.
    std::function<void()> notifyAssociationsChanged;
    // The path of the run's temporary folder (not the folder); MakeTempFolderPath when empty.
    std::function<TempFolderPathResult()> makeTempFolderPath;
    special_folders folders;
    void* parentWindow = nullptr;  // owner of the DirectX setup's windows
};

// The whole installation in its fixed order; true when the payload is in place. Later steps
// only mark their progress-log lines "Failed". On a failed extraction the journal is rolled
// back. The temporary files and folder are removed in every case once extraction was tried.
bool RunInstallSequence(InstallView& view, InstallContext& context, CUninstallLog& log,
                        const InstallSequencePlatform& platform);

}  // namespace zu
