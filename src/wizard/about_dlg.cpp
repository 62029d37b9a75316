#include "wizard/about_dlg.hpp"

#include "i18n/messages.hpp"
#include "resources/resource_ids.h"
#include "support/version_info.hpp"

namespace zu {

CAboutDlg::CAboutDlg() : ui::Dialog(IDD_ABOUTBOX) {}

bool CAboutDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    VersionInfo version;
    version.items = VersionInfo::FullName | VersionInfo::LegalCopyright;
    version.Read();

    std::wstring pattern = LoadMessage(MessageId(3));
    if (pattern.empty()) {
        wchar_t caption[256] = L"";
        ::GetWindowTextW(hwnd(), caption, 256);
        pattern = caption;
    }
    ::SetWindowTextW(hwnd(), format_message(pattern, {LoadMessage(MessageId(0))}).c_str());
    if (!version.fullName.empty()) SetItemText(IDC_ABOUT_NAME, version.fullName);
    if (!version.legalCopyright.empty()) SetItemText(IDC_ABOUT_COPYRIGHT, version.legalCopyright);
    SetItemText(IDOK, LoadMessage(MessageId(1)));
    return true;
}

}  // namespace zu
