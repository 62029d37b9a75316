// End page: the installation is complete.
#pragma once

#include "wizard/wizard_page.hpp"

namespace zu {

class CDlgEnd : public WizardPageDialog {
public:
    explicit CDlgEnd(CInstallApp& app);
    void Relabel() override;
    void Layout(int w, int h) override;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
};

}  // namespace zu
