// Mode page: quick or advanced installation.
#pragma once

#include "wizard/wizard_page.hpp"

namespace zu {

class CDlgMode : public WizardPageDialog {
public:
    explicit CDlgMode(CInstallApp& app);
    void Relabel() override;
    void Layout(int w, int h) override;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    int chosen_ = -1;  // 0 quick, 1 advanced
};

}  // namespace zu
