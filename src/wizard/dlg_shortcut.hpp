// Shortcut page: Start-menu and desktop shortcuts and the Start-menu folder, shown relative
// to the Start menu.
#pragma once

#include <string>

#include "wizard/wizard_page.hpp"

namespace zu {

class CDlgShortcut : public WizardPageDialog {
public:
    explicit CDlgShortcut(CInstallApp& app);
    void Relabel() override;
    void Layout(int w, int h) override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void OnBrowse();
    void ApplyMenuCheck();

    int desktopCheck_ = 0;
    int menuCheck_ = 0;
    std::wstring relativeFolder_;
    std::wstring startMenuRoot_;
};

}  // namespace zu
