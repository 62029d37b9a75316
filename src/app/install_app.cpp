#include "app/install_app.hpp"

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

CInstallApp::CInstallApp() : folderSources(system_folder_sources()) { g_app = this; }

CInstallApp& TheApp() { return *g_app; }

bool CInstallApp::InitInstance() {
    // The refusal checks of the system gate and the single-installer lock take their place
    // here, before anything else runs.

    // The framework's own start-up: the common controls the wizard's pages use.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    ChooseStartupLanguage();
    UpdateTitle();

    // The administrator test, the running-product test and the detection of an earlier
    // installation (which may fill both folders) come here.

    FillDefaultFolders();
    context.menuShortcut = true;
    context.desktopShortcut = true;
    context.advancedMode = false;

    // The wizard frame is the main window while it is up; the process ends when it closes.
    {
        CInstallDlg wizard(*this);
        wizard.DoModal(nullptr);
    }
    set_application_main_window(nullptr);
    return false;
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
