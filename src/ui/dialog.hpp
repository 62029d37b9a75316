// Our thin dialog layer: a dialog built from a template, modal or as a child page, whose
// window messages become small typed handlers. The Dialog object owns neither its template
// nor its parent; its window lives from Create/DoModal until the parent or EndDialog ends it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "support/windows_api.hpp"

namespace zu::ui {

class DataExchange;

// The module whose resources the templates come from (the executable).
HINSTANCE resource_module();

class Dialog {
public:
    explicit Dialog(unsigned templateId) : templateId_(templateId) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    // Shows the dialog modally; the result given to EndDialog, or -1 when it cannot be made.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog as a child window of parent (hidden unless the template says visible).
    bool Create(HWND parent);

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    std::wstring ItemText(int id) const;
    void SetItemText(int id, const std::wstring& text) const { ::SetDlgItemTextW(hwnd_, id, text.c_str()); }
    void EnableItem(int id, bool enable) const { ::EnableWindow(Item(id), enable ? TRUE : FALSE); }

    // Runs the data exchange: save true moves the controls' values into the members (and may
    // fail after telling the user why, leaving the focus on the control at fault), false
    // loads the controls from the members.
    bool UpdateData(bool save);

protected:
    // Default: load the controls, and let the dialog manager set the focus.
    virtual bool OnInitDialog();
    // Default for a modal dialog: save, then end with IDOK. Pages ignore it.
    virtual void OnOK();
    // Default for a modal dialog: end with IDCANCEL. Pages ignore it.
    virtual void OnCancel();
    virtual void DoDataExchange(DataExchange&) {}

    // Any other message: answer true with the result when handled; false gives the default.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Registers handler for the notification code of control id (BN_CLICKED, CBN_SELCHANGE...).
    void OnCommand(int id, int code, std::function<void()> handler) { commands_[{id, code}] = std::move(handler); }

    void EndDialog(INT_PTR result) const { ::EndDialog(hwnd_, result); }
    bool IsModal() const { return modal_; }

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    unsigned templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    std::map<std::pair<int, int>, std::function<void()>> commands_;
};

}  // namespace zu::ui
