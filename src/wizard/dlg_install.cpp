#include "wizard/dlg_install.hpp"

#include "engine/wizard_rules.hpp"
#include "i18n/messages.hpp"
#include "resources/resource_ids.h"
#include "support/product_identity.hpp"
#include "ui/data_exchange.hpp"

namespace zu {
namespace {

std::wstring quoted_path(const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = L"";
    ::lstrcpynW(buffer, path.c_str(), MAX_PATH);
    ::PathQuoteSpacesW(buffer);
    return buffer;
}

}  // namespace

CDlgInstall::CDlgInstall(CInstallApp& app) : WizardPageDialog(IDD_PAGE_INSTALL, app) {}

bool CDlgInstall::OnInitDialog() {
    WizardPageDialog::OnInitDialog();
    ::SendMessageW(progress_, PBM_SETRANGE32, 0, 100);
    ::ShowWindow(progress_, SW_HIDE);
    return true;
}

void CDlgInstall::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_LOG, log_);
    dx.Control(IDC_PROGRESS, progress_);
    if (!dx.saving && !app_.context.installDone) WriteOptionsSummary();
}

void CDlgInstall::WriteOptionsSummary() {
    const InstallContext& c = app_.context;
    ClearLog();
    AppendLog(FormatMessageText(MessageId(100), {ProductIdentity::fullName}) + L"\r\n", false);
    AppendLog(LoadMessage(MessageId(122)), true);
    AppendLog(FormatMessageText(MessageId(123), {quoted_path(c.installFolder)}) + L"\r\n", false);
    if (c.menuShortcut) AppendLog(FormatMessageText(MessageId(124), {quoted_path(c.shortcutFolder)}) + L"\r\n", false);
    if (c.desktopShortcut) AppendLog(LoadMessage(MessageId(125)) + L"\r\n", false);
    // Back to the top; the bound keeps a log that refuses to scroll from holding the page.
    for (int guard = 0; guard < 10000 && ::SendMessageW(log_, EM_GETFIRSTVISIBLELINE, 0, 0) != 0; ++guard) {
        ::SendMessageW(log_, EM_LINESCROLL, 0, -1);
    }
}

void CDlgInstall::AppendLog(const std::wstring& text, bool separator) {
    std::wstring line = text;
    if (text.empty() || separator) {
        RECT client{};
        ::GetClientRect(log_, &client);
        const LRESULT margins = ::SendMessageW(log_, EM_GETMARGINS, 0, 0);
        const int available = client.right - client.left - 2 - LOWORD(margins) - HIWORD(margins);
        HDC dc = ::GetDC(log_);
        HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
        auto width = [dc](const std::wstring& s) {
            SIZE size{};
            ::GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
            return static_cast<int>(size.cx);
        };
        line = SeparatorLine(text, available, width);
        ::SelectObject(dc, oldFont);
        ::ReleaseDC(log_, dc);
    }
    ::SendMessageW(log_, EM_SETSEL, 0x7FFFFFFF, -1);
    ::SendMessageW(log_, EM_SCROLLCARET, 0, 0);
    ::SendMessageW(log_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    ::SendMessageW(log_, EM_LINESCROLL, 0, 1);
}

void CDlgInstall::ClearLog() { ::SetWindowTextW(log_, L""); }

void CDlgInstall::SetProgressText(const std::wstring& text) { SetItemText(IDC_STATUS, text); }

void CDlgInstall::SetProgressPathText(const std::wstring& path) {
    ::PathSetDlgItemPathW(hwnd(), IDC_STATUS, path.c_str());
}

void CDlgInstall::ShowProgressBar(bool visible) { ::ShowWindow(progress_, visible ? SW_SHOW : SW_HIDE); }

void CDlgInstall::SetProgressPosition(int percent) { ::SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(percent), 0); }

void CDlgInstall::BeginWaitCursor() {
    HCURSOR wait = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    if (waitDepth_++ == 0) savedCursor_ = wait;
}

void CDlgInstall::EndWaitCursor() {
    if (waitDepth_ == 0) return;
    if (--waitDepth_ == 0) ::SetCursor(savedCursor_ ? savedCursor_ : ::LoadCursorW(nullptr, IDC_ARROW));
}

void CDlgInstall::PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void CDlgInstall::Relabel() {
    SetItemText(IDC_STATUS, FormatMessageText(MessageId(108), {LoadMessage(MessageId(7))}));
}

void CDlgInstall::Layout(int w, int h) {
    ApplyLayout({{IDC_LOG, Grow::WidenAndGrowDown},
                 {IDC_PROGRESS, Grow::WidenAndMoveDown},
                 {IDC_STATUS, Grow::WidenAndMoveDown}},
                w, h);
}

}  // namespace zu
