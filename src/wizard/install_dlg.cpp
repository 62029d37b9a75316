#include "wizard/install_dlg.hpp"

#include "engine/install_sequence.hpp"
#include "engine/wizard_rules.hpp"
#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"
#include "resources/resource_ids.h"
#include "support/application_window.hpp"
#include "support/error_reporting.hpp"
#include "wizard/about_dlg.hpp"
#include "wizard/window_geometry.hpp"

namespace zu {

CInstallDlg::CInstallDlg(CInstallApp& app)
    : ui::Dialog(IDD_INSTALL_FRAME),
      app_(app),
      start_(app),
      mode_(app),
      path_(app),
      shortcut_(app),
      install_(app),
      end_(app),
      pages_{&start_, &mode_, &path_, &shortcut_, &install_, &end_},
      icon_(::LoadIconW(ui::resource_module(), MAKEINTRESOURCEW(IDR_MAINFRAME))) {
    OnCommand(IDC_BACK, BN_CLICKED, [this] { OnBack(); });
}

CInstallDlg::~CInstallDlg() {
    app_.onLanguageChanged = nullptr;
}

bool CInstallDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    set_application_main_window(hwnd());
    app_.onLanguageChanged = [this] { Relabel(); };

    ::SetWindowTextW(hwnd(), app_.context.appTitle.c_str());
    HMENU systemMenu = ::GetSystemMenu(hwnd(), FALSE);
    const std::wstring about = AboutMenuText(is_rtl_language(get_language()));
    if (systemMenu) {
        if (!about.empty()) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
        ::DeleteMenu(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND);
        ::DeleteMenu(systemMenu, SC_SIZE, MF_BYCOMMAND);
    }
    ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));

    // Creation order: Start, Mode, Path, Shortcut, Install, End, as their indices.
    for (WizardPageDialog* page : pages_) page->Create(hwnd());
    LayOut();
    Relabel();
    ShowPage(PageStart);
    if (app_.context.installState == NewerInstalled) EnableItem(IDOK, false);
    return true;
}

void CInstallDlg::LayOut() {
    RECT area{};
    ::GetClientRect(hwnd(), &area);
    area.left = child_rect(Item(IDC_WHITE_PANEL)).right;
    area.bottom = child_rect(Item(IDC_SEPARATOR)).top;

    RECT united = area;
    std::array<SIZE, PageCount> sizes{};
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        RECT page{};
        ::GetWindowRect(pages_[i]->hwnd(), &page);
        sizes[i] = {width_of(page), height_of(page)};
        RECT placed{area.left, area.top, area.left + sizes[i].cx, area.top + sizes[i].cy};
        move_window(pages_[i]->hwnd(), placed, SWP_NOREDRAW);
        ::UnionRect(&united, &united, &placed);
    }
    const int dw = width_of(united) - width_of(area);
    const int dh = height_of(united) - height_of(area);

    RECT frame{};
    ::GetWindowRect(hwnd(), &frame);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, width_of(frame) + dw, height_of(frame) + dh,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (std::size_t i = 0; i < pages_.size(); ++i) {
        move_window(pages_[i]->hwnd(), united);
        pages_[i]->Layout(width_of(united) - sizes[i].cx, height_of(united) - sizes[i].cy);
    }

    RECT panel = child_rect(Item(IDC_WHITE_PANEL));
    panel.bottom += dh;
    move_window(Item(IDC_WHITE_PANEL), panel);
    RECT separator = child_rect(Item(IDC_SEPARATOR));
    separator.right += dw;
    ::OffsetRect(&separator, 0, dh);
    move_window(Item(IDC_SEPARATOR), separator);
    for (int id : {IDC_BACK, IDOK, IDCANCEL}) {
        RECT button = child_rect(Item(id));
        ::OffsetRect(&button, dw, dh);
        move_window(Item(id), button);
    }
}

void CInstallDlg::Relabel() {
    ::SetWindowTextW(hwnd(), WizardTitle().c_str());
    const std::wstring about = AboutMenuText(is_rtl_language(get_language()));
    if (HMENU systemMenu = ::GetSystemMenu(hwnd(), FALSE)) {
        ::ModifyMenuW(systemMenu, IDM_ABOUTBOX, MF_BYCOMMAND | MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
    RelabelButtons();
    for (WizardPageDialog* page : pages_) page->Relabel();
}

void CInstallDlg::RelabelButtons() {
    const WizardButtons buttons =
        ButtonsFor(shown_ < 0 ? PageStart : shown_, app_.context.installDone, app_.context.installState);
    SetItemText(IDOK, buttons.next);
    SetItemText(IDC_BACK, buttons.back);
    SetItemText(IDCANCEL, buttons.cancel);
}

void CInstallDlg::ShowPage(int target) {
    const int old = shown_;
    if (old >= 0) {
        if (!pages_[static_cast<std::size_t>(old)]->UpdateData(true)) return;
        ::ShowWindow(pages_[static_cast<std::size_t>(old)]->hwnd(), SW_HIDE);
    }
    target = SkipPages(target, old, app_.context.advancedMode);
    WizardPageDialog* page = pages_[static_cast<std::size_t>(target)];
    if (target != old) page->UpdateData(false);
    shown_ = target;
    ::ShowWindow(page->hwnd(), SW_SHOW);

    RelabelButtons();
    const WizardButtons buttons = ButtonsFor(target, app_.context.installDone, app_.context.installState);
    EnableItem(IDC_BACK, buttons.backEnabled);
    EnableItem(IDOK, buttons.nextEnabled);
    ::SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(buttons.defaultId)), TRUE);
    ::SendMessageW(hwnd(), DM_SETDEFID, static_cast<WPARAM>(buttons.defaultId), 0);
}

void CInstallDlg::OnOK() {
    if (installing_ || shown_ < 0) return;
    if (shown_ == PageInstall && !app_.context.installDone) {
        for (int id : {IDC_BACK, IDOK, IDCANCEL}) EnableItem(id, false);
        installing_ = true;
        app_.context.installDone = RunInstallation(install_, app_);
        installing_ = false;
        ShowPage(PageInstall);
        EnableItem(IDCANCEL, true);
        return;
    }
    // Next is disabled on the last page; Enter must not go past it either.
    if (shown_ < PageEnd) ShowPage(shown_ + 1);
}

void CInstallDlg::OnBack() {
    if (installing_ || shown_ <= PageStart) return;
    ShowPage(shown_ - 1);
}

void CInstallDlg::OnCancel() {
    // Escape and the close box still reach here while the sequence dispatches messages.
    if (installing_) return;
    const InstallContext& c = app_.context;
    if (CancelAsksQuestion(c.installDone, c.installState, shown_) &&
        message_box(LoadMessage(MessageId(110)), message_text(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    EndDialog(c.installDone ? IDOK : IDCANCEL);
}

bool CInstallDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return false;
        {
            CAboutDlg about;
            about.DoModal(hwnd());
        }
        result = 0;
        return true;
    case WM_INITMENUPOPUP:
        result = ::DefWindowProcW(hwnd(), message, wParam, lParam);
        if (HIWORD(lParam)) {
            const HMENU menu = reinterpret_cast<HMENU>(wParam);
            const bool minimised = ::IsIconic(hwnd()) != FALSE;
            ::EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | (minimised ? MF_GRAYED : MF_ENABLED));
            ::EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (minimised ? MF_ENABLED : MF_GRAYED));
        }
        return true;
    case WM_PAINT: {
        if (!::IsIconic(hwnd())) return false;
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(hwnd(), &paint);
        ::SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        const int x = (width_of(client) - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (height_of(client) - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc, x, y, icon_);
        ::EndPaint(hwnd(), &paint);
        result = 0;
        return true;
    }
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(icon_);
        return true;
    case WM_GETMINMAXINFO: {
        result = ::DefWindowProcW(hwnd(), message, wParam, lParam);
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (::GetWindowPlacement(hwnd(), &placement)) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            const RECT& normal = placement.rcNormalPosition;
            info->ptMaxSize = {width_of(normal), height_of(normal)};
            info->ptMaxPosition = {normal.left, normal.top};
        }
        return true;
    }
    default:
        return false;
    }
}

}  // namespace zu
