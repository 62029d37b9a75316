// Answers the next message box of this process from another thread, as a person would, and
// remembers what it showed.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "support/windows_api.hpp"

namespace zu_test {

struct SeenBox {
    bool seen = false;
    std::wstring caption;
    std::wstring text;
    bool hasRetry = false;
    bool hasCancel = false;
};

class MessageBoxWatcher {
public:
    // Presses button (IDOK, IDRETRY, IDCANCEL...) on the first box that appears.
    explicit MessageBoxWatcher(int button) : button_(button), thread_([this] { Watch(); }) {}
    ~MessageBoxWatcher() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    // Waits for the watcher to have answered one box (or for the time-out) and returns it.
    SeenBox Result() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return seen_;
    }

private:
    static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        wchar_t className[32] = L"";
        ::GetClassNameW(window, className, 32);
        if (process == ::GetCurrentProcessId() && std::wstring(className) == L"#32770" && ::IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK ReadText(HWND child, LPARAM box) {
        auto* seen = reinterpret_cast<SeenBox*>(box);
        wchar_t className[32] = L"";
        ::GetClassNameW(child, className, 32);
        wchar_t text[2048] = L"";
        ::GetWindowTextW(child, text, 2048);
        if (std::wstring(className) == L"Static" && wcslen(text) > seen->text.size()) seen->text = text;
        return TRUE;
    }
    void Watch() {
        using clock = std::chrono::steady_clock;
        const auto deadline = clock::now() + std::chrono::seconds(20);
        auto stopAt = clock::time_point::max();
        while (!answered_ && clock::now() < std::min(deadline, stopAt)) {
            // Once the caller has moved on, a box that is still to come gets half a second.
            if (stop_ && stopAt == clock::time_point::max()) stopAt = clock::now() + std::chrono::milliseconds(500);
            HWND box = nullptr;
            ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                wchar_t caption[512] = L"";
                ::GetWindowTextW(box, caption, 512);
                seen_.caption = caption;
                ::EnumChildWindows(box, ReadText, reinterpret_cast<LPARAM>(&seen_));
                seen_.hasRetry = ::GetDlgItem(box, IDRETRY) != nullptr;
                seen_.hasCancel = ::GetDlgItem(box, IDCANCEL) != nullptr;
                seen_.seen = true;
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
                answered_ = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
    }

    int button_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> answered_{false};
    SeenBox seen_;
    std::thread thread_;
};

}  // namespace zu_test
