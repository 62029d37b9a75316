#include "ui/data_exchange.hpp"

#include "i18n/messages.hpp"
#include "support/error_reporting.hpp"
#include "ui/dialog.hpp"

namespace zu::ui {

std::wstring max_chars_message(int maxChars) {
    return zu::format_message(L"Enter no more than %1 characters.", {std::to_wstring(maxChars)});
}

void DataExchange::Fail(int id) const {
    HWND control = dialog_.Item(id);
    if (control) {
        ::SetFocus(control);
        wchar_t className[16] = L"";
        ::GetClassNameW(control, className, 16);
        if (::lstrcmpiW(className, L"Edit") == 0) ::SendMessageW(control, EM_SETSEL, 0, -1);
    }
    throw ValidationFailed{};
}

void DataExchange::Control(int id, HWND& window) const { window = dialog_.Item(id); }

void DataExchange::Text(int id, std::wstring& value) const {
    if (saving) {
        value = dialog_.ItemText(id);
    } else {
        dialog_.SetItemText(id, value);
    }
}

void DataExchange::MaxChars(int id, const std::wstring& value, int maxChars) const {
    if (!saving) {
        ::SendMessageW(dialog_.Item(id), EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (value.size() > static_cast<std::size_t>(maxChars)) {
        zu::message_box(max_chars_message(maxChars), zu::message_text(), MB_OK | MB_ICONEXCLAMATION);
        Fail(id);
    }
}

void DataExchange::Check(int id, int& value) const {
    HWND box = dialog_.Item(id);
    if (saving) {
        value = static_cast<int>(::SendMessageW(box, BM_GETCHECK, 0, 0));
    } else {
        ::SendMessageW(box, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DataExchange::Radio(int firstId, int& index) const {
    if (saving) index = -1;
    HWND button = dialog_.Item(firstId);
    for (int i = 0; button; ++i) {
        if (saving) {
            if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) index = i;
        } else {
            ::SendMessageW(button, BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        button = ::GetWindow(button, GW_HWNDNEXT);
        if (!button || (::GetWindowLongW(button, GWL_STYLE) & WS_GROUP)) break;
    }
}

}  // namespace zu::ui
