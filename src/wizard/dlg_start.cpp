#include "wizard/dlg_start.hpp"

#include <algorithm>

#include "engine/wizard_rules.hpp"
#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"
#include "resources/resource_ids.h"
#include "ui/data_exchange.hpp"

namespace zu {

CDlgStart::CDlgStart(CInstallApp& app) : WizardPageDialog(IDD_PAGE_START, app) {
    OnCommand(IDC_LANGUAGE_LIST, CBN_SELCHANGE, [this] { OnLanguageSelected(); });
}

void CDlgStart::DoDataExchange(ui::DataExchange& dx) {
    HWND list = nullptr;
    dx.Control(IDC_LANGUAGE_LIST, list);
    languages_ = ui::ComboBoxEx(list);
}

bool CDlgStart::OnInitDialog() {
    WizardPageDialog::OnInitDialog();
    flags_.reset(::ImageList_Create(18, 12, ILC_COLOR24, 8, 1));
    languages_.SetImageList(flags_.get());

    int current = -1;
    int position = 0;
    for (language_number language : offered_languages_in_list_order()) {
        ui::unique_icon flag = ui::load_icon(language_table()[static_cast<std::size_t>(language)].flagIcon, 16, 12);
        const int image = ::ImageList_AddIcon(flags_.get(), flag.get());
        const int inserted = languages_.InsertItem(position++, language_native_name(language), image, language);
        if (language == get_language()) current = inserted;
    }

    // The list drops wide enough for its longest name, measured in the page's font.
    HDC dc = ::GetDC(languages_.hwnd());
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    int dropped = 0;
    for (int i = 0; i < languages_.Count(); ++i) {
        const std::wstring name = languages_.ItemText(i).value_or(std::wstring());
        SIZE size{};
        ::GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &size);
        dropped = std::max(dropped, static_cast<int>(size.cx) + 30);
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(languages_.hwnd(), dc);
    languages_.SetDroppedWidth(dropped);

    languages_.SetCurSel(current);
    return true;
}

void CDlgStart::Relabel() {
    std::wstring version;
    const int state = app_.GetInstallState(&version);
    SetItemText(IDC_LANGUAGE_LABEL, LoadMessage(MessageId(14)));
    SetItemText(IDC_INFORMATION, StartInformation(state, version));
    SetItemText(IDC_STATUS, StatusLine(PageStart, state, app_.context.installDone));
}

void CDlgStart::Layout(int w, int h) {
    ApplyLayout({{IDC_LANGUAGE_LIST, Grow::Widen},
                 {IDC_NOTICE, Grow::Widen},
                 {IDC_INFORMATION, Grow::WidenAndGrowDown},
                 {IDC_STATUS, Grow::WidenAndMoveDown}},
                w, h);
}

void CDlgStart::OnLanguageSelected() {
    const int selected = languages_.CurSel();
    if (selected < 0) return;
    const std::optional<LPARAM> language = languages_.ItemData(selected);
    if (!language) return;
    SelectLanguage(static_cast<int>(*language));
}

}  // namespace zu
