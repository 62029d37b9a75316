// The steps the scenarios share: the real installer, its quick English path up to the end
// of the install sequence, and the texts they read on the way.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

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
inline std::wstring message(unsigned offset) { return LoadMessage(zu::MessageId(offset)); }

// Clicks Install and waits until the page shows the sequence's end: Exit on Cancel after a
// success, Install enabled again after a failure. With ZU_E2E_TIMING set, prints how long
// that took, for the benchmark (bench-install).
inline bool install_and_wait(WizardDriver& w, int seconds = 180) {
    const auto started = std::chrono::steady_clock::now();
    ::PostMessageW(w.Button(kNext), BM_CLICK, 0, 0);
    const auto deadline = started + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const bool ended = w.ButtonText(kCancel) == L"Exit";
        if (ended || (w.Enabled(w.Button(kNext)) && w.ButtonText(kNext) == L"Install")) {
            if (std::getenv("ZU_E2E_TIMING")) {
                const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - started).count();
                std::printf("install sequence: %lld ms\n", static_cast<long long>(ms));
                std::fflush(stdout);
            }
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
