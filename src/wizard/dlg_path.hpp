// Path page: the installation folder, fixed when the product is already installed.
#pragma once

#include <string>

#include "wizard/wizard_page.hpp"

namespace zu {

class CDlgPath : public WizardPageDialog {
public:
    explicit CDlgPath(CInstallApp& app);
    void Relabel() override;
    void Layout(int w, int h) override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void OnBrowse();

    std::wstring folder_;
};

}  // namespace zu
