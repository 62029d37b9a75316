#include "wizard/dlg_end.hpp"

#include "engine/wizard_rules.hpp"
#include "i18n/messages.hpp"
#include "resources/resource_ids.h"
#include "ui/data_exchange.hpp"

namespace zu {

CDlgEnd::CDlgEnd(CInstallApp& app) : WizardPageDialog(IDD_PAGE_END, app) {}

void CDlgEnd::DoDataExchange(ui::DataExchange& dx) {
    if (!dx.saving && app_.context.installDone) SetItemText(IDC_INFORMATION, LoadMessage(MessageId(120)));
}

void CDlgEnd::Relabel() {
    SetItemText(IDC_INFORMATION, std::wstring());
    SetItemText(IDC_STATUS, StatusLine(PageEnd, app_.context.installState, app_.context.installDone));
}

void CDlgEnd::Layout(int w, int h) {
    ApplyLayout({{IDC_INFORMATION, Grow::WidenAndGrowDown}, {IDC_STATUS, Grow::WidenAndMoveDown}}, w, h);
}

}  // namespace zu
