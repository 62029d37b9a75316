#include "wizard/dlg_path.hpp"

#include "engine/folder_rules.hpp"
#include "engine/wizard_rules.hpp"
#include "i18n/messages.hpp"
#include "resources/resource_ids.h"
#include "support/product_identity.hpp"
#include "ui/data_exchange.hpp"
#include "wizard/folder_browser.hpp"

namespace zu {

CDlgPath::CDlgPath(CInstallApp& app) : WizardPageDialog(IDD_PAGE_PATH, app) {
    OnCommand(IDC_BROWSE, BN_CLICKED, [this] { OnBrowse(); });
}

bool CDlgPath::OnInitDialog() {
    WizardPageDialog::OnInitDialog();
    if (app_.context.installState != NotInstalled) {
        EnableItem(IDC_PATH_PROMPT, false);
        EnableItem(IDC_BROWSE, false);
        ::SendMessageW(Item(IDC_FOLDER), EM_SETREADONLY, TRUE, 0);
    }
    return true;
}

void CDlgPath::DoDataExchange(ui::DataExchange& dx) {
    if (!dx.saving) folder_ = app_.context.installFolder;
    dx.Text(IDC_FOLDER, folder_);
    dx.MaxChars(IDC_FOLDER, folder_, static_cast<int>(kPathBuffer));
    if (dx.saving) app_.context.installFolder = folder_;
}

void CDlgPath::Relabel() {
    SetItemText(IDC_PATH_GROUP, LoadMessage(MessageId(10)));
    SetItemText(IDC_PATH_PROMPT, FormatMessageText(MessageId(111), {ProductIdentity::productName}));
    SetItemText(IDC_BROWSE, LoadMessage(MessageId(8)));
    SetItemText(IDC_STATUS, StatusLine(PagePath, app_.context.installState, app_.context.installDone));
}

void CDlgPath::Layout(int w, int h) {
    ApplyLayout({{IDC_PATH_GROUP, Grow::Widen},
                 {IDC_PATH_PROMPT, Grow::Widen},
                 {IDC_FOLDER, Grow::Widen},
                 {IDC_BROWSE, Grow::MoveRight},
                 {IDC_STATUS, Grow::WidenAndMoveDown}},
                w, h);
}

void CDlgPath::OnBrowse() {
    if (!UpdateData(true)) return;
    const std::wstring title = FormatMessageText(MessageId(111), {ProductIdentity::productName});
    const std::wstring chosen =
        FolderBrowser::BrowseForInstallFolder(app_.context.installFolder, ProductIdentity::displayName, title);
    if (chosen.empty()) return;
    app_.context.installFolder = chosen;
    UpdateData(false);
}

}  // namespace zu
