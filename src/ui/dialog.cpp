#include "ui/dialog.hpp"

#include "ui/data_exchange.hpp"

namespace zu::ui {

HINSTANCE resource_module() { return ::GetModuleHandleW(nullptr); }

Dialog::~Dialog() {
    if (hwnd_ && !modal_) ::DestroyWindow(hwnd_);
}

INT_PTR Dialog::DoModal(HWND owner) {
    modal_ = true;
    return ::DialogBoxParamW(resource_module(), MAKEINTRESOURCEW(templateId_), owner, Proc,
                             reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND parent) {
    modal_ = false;
    return ::CreateDialogParamW(resource_module(), MAKEINTRESOURCEW(templateId_), parent, Proc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

std::wstring Dialog::ItemText(int id) const {
    HWND item = Item(id);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool Dialog::UpdateData(bool save) {
    try {
        DataExchange exchange(*this, save);
        DoDataExchange(exchange);
        return true;
    } catch (const ValidationFailed&) {
        return false;
    }
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (!modal_) return;
    if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() {
    if (modal_) EndDialog(IDCANCEL);
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

INT_PTR CALLBACK Dialog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = window;
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (!self) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT) keep the default
    if (message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        ::SetWindowLongPtrW(window, DWLP_USER, 0);
        return FALSE;
    }
    return self->Dispatch(message, wParam, lParam);
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (auto found = commands_.find({id, code}); found != commands_.end()) {
            found->second();
            return TRUE;
        }
        // Buttons, menus and the dialog manager's Enter and Escape all come with code 0.
        if (code == BN_CLICKED && id == IDOK) {
            OnOK();
            return TRUE;
        }
        if (code == BN_CLICKED && id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    LRESULT result = 0;
    if (!OnMessage(message, wParam, lParam, result)) return FALSE;
    // These messages give their answer as the procedure's result; all others through
    // DWLP_MSGRESULT.
    switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

}  // namespace zu::ui
