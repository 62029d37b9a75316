#include "wizard/dlg_shortcut.hpp"

#include "engine/folder_rules.hpp"
#include "engine/wizard_rules.hpp"
#include "i18n/messages.hpp"
#include "resources/resource_ids.h"
#include "support/product_identity.hpp"
#include "ui/data_exchange.hpp"
#include "wizard/folder_browser.hpp"

namespace zu {

CDlgShortcut::CDlgShortcut(CInstallApp& app) : WizardPageDialog(IDD_PAGE_SHORTCUT, app) {
    OnCommand(IDC_BROWSE, BN_CLICKED, [this] { OnBrowse(); });
    OnCommand(IDC_MENU_CHECK, BN_CLICKED, [this] { ApplyMenuCheck(); });
}

bool CDlgShortcut::OnInitDialog() {
    wchar_t root[MAX_PATH] = L"";
    if (!::SHGetSpecialFolderPathW(nullptr, root, CSIDL_COMMON_STARTMENU, FALSE)) {
        ::SHGetSpecialFolderPathW(nullptr, root, CSIDL_STARTMENU, FALSE);
    }
    startMenuRoot_ = root;
    WizardPageDialog::OnInitDialog();
    ApplyMenuCheck();
    return true;
}

void CDlgShortcut::DoDataExchange(ui::DataExchange& dx) {
    if (!dx.saving) {
        desktopCheck_ = app_.context.desktopShortcut ? 1 : 0;
        menuCheck_ = app_.context.menuShortcut ? 1 : 0;
        relativeFolder_ = RelativeFolder(startMenuRoot_, app_.context.shortcutFolder);
    }
    dx.Check(IDC_DESKTOP_CHECK, desktopCheck_);
    dx.Check(IDC_MENU_CHECK, menuCheck_);
    dx.Text(IDC_FOLDER, relativeFolder_);
    dx.MaxChars(IDC_FOLDER, relativeFolder_, static_cast<int>(kPathBuffer));
    if (dx.saving) {
        app_.context.desktopShortcut = desktopCheck_ != 0;
        app_.context.menuShortcut = menuCheck_ != 0;
        app_.context.shortcutFolder = CombinePath(startMenuRoot_, relativeFolder_);
    }
}

void CDlgShortcut::ApplyMenuCheck() {
    const bool menu = ::SendMessageW(Item(IDC_MENU_CHECK), BM_GETCHECK, 0, 0) == BST_CHECKED;
    EnableItem(IDC_FOLDER, menu);
    EnableItem(IDC_BROWSE, menu);
}

void CDlgShortcut::Relabel() {
    SetItemText(IDC_SHORTCUT_GROUP, LoadMessage(MessageId(9)));
    SetItemText(IDC_MENU_CHECK, LoadMessage(MessageId(112)));
    SetItemText(IDC_BROWSE, LoadMessage(MessageId(8)));
    SetItemText(IDC_DESKTOP_CHECK, LoadMessage(MessageId(113)));
    SetItemText(IDC_STATUS, StatusLine(PageShortcut, app_.context.installState, app_.context.installDone));
}

void CDlgShortcut::Layout(int w, int h) {
    ApplyLayout({{IDC_SHORTCUT_GROUP, Grow::Widen},
                 {IDC_MENU_CHECK, Grow::Widen},
                 {IDC_FOLDER, Grow::Widen},
                 {IDC_DESKTOP_CHECK, Grow::Widen},
                 {IDC_BROWSE, Grow::MoveRight},
                 {IDC_STATUS, Grow::WidenAndMoveDown}},
                w, h);
}

void CDlgShortcut::OnBrowse() {
    if (!UpdateData(true)) return;
    const FolderBrowser::ShortcutChoice chosen = FolderBrowser::BrowseForShortcutFolder(
        app_.context.shortcutFolder, ProductIdentity::displayName, LoadMessage(MessageId(112)));
    if (chosen.absolute.empty()) return;
    app_.context.shortcutFolder = chosen.absolute;
    UpdateData(false);
}

}  // namespace zu
