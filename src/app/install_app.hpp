// The application object: one per process, created during static initialisation. It owns
// the install context and runs the start-up sequence.
#pragma once

#include <functional>
#include <string>

#include "app/default_folders.hpp"
#include "app/install_context.hpp"
#include "support/named_objects.hpp"
#include "system/uninstall_log.hpp"

namespace zu {

class CInstallApp {
public:
    CInstallApp();
    CInstallApp(const CInstallApp&) = delete;
    CInstallApp& operator=(const CInstallApp&) = delete;

    // The start-up sequence; always false, so that the process ends when the wizard closes.
    bool InitInstance();

    // The install state; fills version with the installed version in states -1 and 2.
    int GetInstallState(std::wstring* version = nullptr) const;

    // Replaces appTitle (and the title message boxes use) by the installer title with product
    // in the current language.
    void UpdateTitle();

    // Called after a language change so that the wizard reloads its texts; empty while no
    // wizard is shown.
    std::function<void()> onLanguageChanged;

    // False: the start-up sequence stops where the wizard would open (start-up report, tests
    // of the start-up), leaving the context as the wizard would meet it.
    bool showWizard = true;

    InstallContext context;
    FolderSources folderSources;
    CUninstallLog uninstallLog;
    // The installer mutex, opened (not owned) with the application object.
    named_mutex instanceGuard;

private:
    bool PassesRefusalChecks();
    bool WaitWhileProductRuns();
    bool DetectEarlierInstallation();
    void FillDefaultFolders();
};

// The one application object of the process.
CInstallApp& TheApp();

}  // namespace zu

// Applies a language picked in the Start page list (an untranslated pick is announced with
// message 129 and the installer goes on in English).
void SelectLanguage(int language);
