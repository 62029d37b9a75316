// The steps the scenarios share: the real installer, its quick English path up to the end
// of the install sequence, and the texts they read on the way.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"
#include "wizard/wizard_driver.hpp"

namespace zu_test::quick {

constexpr int kNext = IDOK, kBack = 3, kCancel = IDCANCEL;
inline const std::wstring kInstallFolder = L"C:\\Program Files\\Quillon\\Mobrix 6";

// Leaves the prefix without the product when the test ends, however it ends; the scenarios'
// own checks of what an uninstallation left run before it.
struct ProductRemovedAtEnd {
    ProductRemovedAtEnd() { zu_test::remove_product_from_machine(); }
    ~ProductRemovedAtEnd() { zu_test::remove_product_from_machine(); }
};

inline std::wstring installer() { return zu_test::wine_path(ZU_INSTALLER_EXE); }
// A message of a language (English, the quick path's, unless told).
inline std::wstring message(unsigned offset, int language = zu::kEnglish,
                            const std::vector<std::wstring>& arguments = {}) {
    zu::set_language(language);
    std::wstring text = arguments.empty() ? LoadMessage(zu::MessageId(offset))
                                          : FormatMessageText(zu::MessageId(offset), arguments);
    zu::set_language(zu::kEnglish);
    return text;
}

// The whole text of a control of another process (the progress log outgrows the driver's
// fixed buffer).
inline std::wstring full_text(HWND window) {
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          5000, &got);
    text.resize(got);
    return text;
}
inline std::wstring progress_log(const WizardDriver& w) { return full_text(w.PageItem(1015)); }

// Clicks Install and waits until the page shows the sequence's end: Exit on Cancel after a
// success, Install enabled again after a failure (the button texts of the wizard's language).
inline bool install_and_wait(WizardDriver& w, int seconds = 180, int language = zu::kEnglish) {
    const std::wstring exitText = message(4, language), installText = message(7, language);
    const auto started = std::chrono::steady_clock::now();
    ::PostMessageW(w.Button(kNext), BM_CLICK, 0, 0);
    const auto deadline = started + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const bool ended = w.ButtonText(kCancel) == exitText;
        if (ended || (w.Enabled(w.Button(kNext)) && w.ButtonText(kNext) == installText)) {
            return ended;
        }
    }
    ADD_FAILURE() << "the installation did not end in " << seconds << " s";
    return false;
}

// Start, Mode, Install and its sequence, End, Exit: true when the installation succeeded and
// the wizard ended with 0.
inline bool install_quickly() {
    WizardDriver w(installer(), L"", false);
    if (!w.Frame()) return false;
    w.ClickButton(kNext);
    w.ClickButton(kNext);
    if (w.PageIndex() != 4 || !install_and_wait(w)) return false;
    w.ClickButton(kNext);
    w.ClickButton(kCancel);
    return w.WaitForExit() == 0;
}

}  // namespace zu_test::quick
