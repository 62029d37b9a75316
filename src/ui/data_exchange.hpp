// Moving values between a dialog's controls and its members, in the direction of one
// UpdateData call. A failed validation tells the user, puts the focus on the control and
// throws ValidationFailed, which UpdateData turns into false.
#pragma once

#include <string>

#include "support/windows_api.hpp"

namespace zu::ui {

class Dialog;

struct ValidationFailed {};

// The length message of the data exchange. Fixed English text, as the framework's own.
std::wstring max_chars_message(int maxChars);

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool save) : dialog_(dialog), saving(save) {}

    Dialog& dialog() const { return dialog_; }

    // The window of control id.
    void Control(int id, HWND& window) const;
    void Text(int id, std::wstring& value) const;
    // Limits typing to maxChars when loading; refuses a longer text when saving.
    void MaxChars(int id, const std::wstring& value, int maxChars) const;
    void Check(int id, int& value) const;
    // The index of the checked button in the group that starts at firstId (-1: none).
    void Radio(int firstId, int& index) const;

private:
    [[noreturn]] void Fail(int id) const;

    Dialog& dialog_;

public:
    const bool saving;
};

}  // namespace zu::ui
