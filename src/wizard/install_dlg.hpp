// The wizard frame: the installer's main window. It owns the six pages and their order, the
// Back, Next and Cancel/Exit buttons, and the question before leaving an unfinished
// installation. Shown modally by the application's start-up; its modal loop is the only one.
#pragma once

#include <array>

#include "app/install_app.hpp"
#include "ui/dialog.hpp"
#include "wizard/dlg_end.hpp"
#include "wizard/dlg_install.hpp"
#include "wizard/dlg_mode.hpp"
#include "wizard/dlg_path.hpp"
#include "wizard/dlg_shortcut.hpp"
#include "wizard/dlg_start.hpp"

namespace zu {

class CInstallDlg : public ui::Dialog {
public:
    explicit CInstallDlg(CInstallApp& app);
    ~CInstallDlg() override;

    // Every text in the current language: title, About item, buttons, then each page.
    void Relabel();
    void RelabelButtons();
    void ShowPage(int target);
    int ShownPage() const { return shown_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnBack();
    void LayOut();

    CInstallApp& app_;
    CDlgStart start_;
    CDlgMode mode_;
    CDlgPath path_;
    CDlgShortcut shortcut_;
    CDlgInstall install_;
    CDlgEnd end_;
    std::array<WizardPageDialog*, 6> pages_;
    int shown_ = -1;
    bool installing_ = false;
    HICON icon_ = nullptr;  // shared resource icon: not destroyed
};

}  // namespace zu
