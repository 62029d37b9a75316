// Start page: what is about to happen, and the language list with flags.
#pragma once

#include "ui/combo_box_ex.hpp"
#include "wizard/wizard_page.hpp"

namespace zu {

class CDlgStart : public WizardPageDialog {
public:
    explicit CDlgStart(CInstallApp& app);
    void Relabel() override;
    void Layout(int w, int h) override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void OnLanguageSelected();

    ui::ComboBoxEx languages_;
    ui::ImageList flags_;
};

}  // namespace zu
