#include "wizard/dlg_mode.hpp"

#include "engine/wizard_rules.hpp"
#include "i18n/messages.hpp"
#include "resources/resource_ids.h"
#include "ui/data_exchange.hpp"

namespace zu {

CDlgMode::CDlgMode(CInstallApp& app) : WizardPageDialog(IDD_PAGE_MODE, app) {}

void CDlgMode::DoDataExchange(ui::DataExchange& dx) {
    if (!dx.saving) chosen_ = app_.context.advancedMode ? 1 : 0;
    dx.Radio(IDC_QUICK, chosen_);
    if (dx.saving) app_.context.advancedMode = chosen_ == 1;
}

void CDlgMode::Relabel() {
    SetItemText(IDC_MODE_GROUP, LoadMessage(MessageId(15)));
    SetItemText(IDC_QUICK, LoadMessage(MessageId(16)));
    SetItemText(IDC_ADVANCED, LoadMessage(MessageId(17)));
    SetItemText(IDC_STATUS, StatusLine(PageMode, app_.context.installState, app_.context.installDone));
}

void CDlgMode::Layout(int w, int h) {
    ApplyLayout({{IDC_MODE_GROUP, Grow::Widen},
                 {IDC_QUICK, Grow::Widen},
                 {IDC_ADVANCED, Grow::Widen},
                 {IDC_STATUS, Grow::WidenAndMoveDown}},
                w, h);
}

}  // namespace zu
