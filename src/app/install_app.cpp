#include "app/install_app.hpp"

#include "app/earlier_installation.hpp"
#include "app/running_product_counter.hpp"
#include "support/object_names.hpp"
#include "support/security_api.hpp"
#include "support/system_gate.hpp"
#include "system/installation_record.hpp"
#include "system/privileges.hpp"

#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"
#include "i18n/stored_language.hpp"
#include "support/application_window.hpp"
#include "support/error_reporting.hpp"
#include "support/product_identity.hpp"
#include "support/windows_api.hpp"
#include "wizard/install_dlg.hpp"

namespace zu {

namespace {
CInstallApp* g_app = nullptr;
}

CInstallApp::CInstallApp() : folderSources(system_folder_sources()) {
    g_app = this;
    try {
        instanceGuard.open(installer_mutex_name().c_str(), false, true);
    } catch (security_error) {
        // Without the mutex the single-installer test fails and says so; nothing else is lost.
    }
}

CInstallApp& TheApp() { return *g_app; }

bool CInstallApp::InitInstance() {
    if (!PassesRefusalChecks()) return false;

    // The framework's own start-up: the common controls the wizard's pages use.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    ChooseStartupLanguage();
    UpdateTitle();

    if (!IsAdministrator()) {
        message_box(LoadMessage(MessageId(126)), message_text(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!WaitWhileProductRuns()) return false;
    if (!DetectEarlierInstallation()) return false;

    FillDefaultFolders();
    context.menuShortcut = true;
    context.desktopShortcut = true;
    context.advancedMode = false;

    if (!showWizard) return false;
    // The wizard frame is the main window while it is up; the process ends when it closes.
    {
        CInstallDlg wizard(*this);
        wizard.DoModal(nullptr);
    }
    set_application_main_window(nullptr);
    return false;
}

// The checks that come before the language is chosen, and so show system texts.
bool CInstallApp::PassesRefusalChecks() {
    if (!system_gate_passed()) {
        show_error(0x8000FFFFu);  // E_UNEXPECTED
        return false;
    }
    if (!instanceGuard.try_lock()) {
        show_error(ERROR_BUSY);
        return false;
    }
    return true;
}

bool CInstallApp::WaitWhileProductRuns() {
    instance_counter& counter = running_product_counter();
    if (!counter.registered()) return true;
    while (counter.count() >= 2) {
        const std::wstring text = FormatMessageText(MessageId(127), {ProductIdentity::productName});
        if (message_box(text, message_text(), MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDCANCEL) return false;
    }
    return true;
}

bool CInstallApp::DetectEarlierInstallation() {
    const InstallationRecord record = ReadInstallationRecord();
    const EarlierInstallation earlier = zu::DetectEarlierInstallation(record);
    if (earlier.unreadable) {
        message_box(FormatMessageText(MessageId(130), {ProductIdentity::productName, *earlier.unreadable}), message_text(),
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    context.installState = earlier.state;
    context.installedVersion = earlier.installedVersion;
    if (earlier.state == SameVersion || earlier.state == OlderInstalled) {
        const std::wstring logPath = LocateEarlierLog(record);
        if (!logPath.empty()) {
            uninstallLog.Read(logPath);
            context.installFolder = uninstallLog.installPath();
            context.shortcutFolder = uninstallLog.shortcutPath();
        }
    } else {
        uninstallLog.Read(std::nullopt);
    }
    return true;
}

int CInstallApp::GetInstallState(std::wstring* version) const {
    if (version && (context.installState == NewerInstalled || context.installState == OlderInstalled)) {
        *version = context.installedVersion;
    }
    return context.installState;
}

void CInstallApp::UpdateTitle() {
    context.appTitle = InstallerTitle(true);
    set_application_title(context.appTitle);
}

void CInstallApp::FillDefaultFolders() {
    if (context.installFolder.empty()) context.installFolder = DefaultInstallFolder(folderSources);
    if (context.shortcutFolder.empty()) context.shortcutFolder = DefaultShortcutFolder(folderSources);
}

}  // namespace zu

void SelectLanguage(int language) {
    zu::CInstallApp& app = zu::TheApp();
    zu::set_language(language);
    if (!zu::IsInstallerTranslated(zu::get_language())) {
        // The lookup already gives English here; the caption is still the previous title.
        zu::message_box(FormatMessageText(zu::MessageId(129), {zu::ProductIdentity::productName}), app.context.appTitle,
                        MB_OK | MB_ICONINFORMATION);
        zu::set_language(zu::kEnglish);
    }
    app.UpdateTitle();
    if (app.onLanguageChanged) app.onLanguageChanged();
}
