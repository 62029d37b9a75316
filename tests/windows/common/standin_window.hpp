// The main window of the running stand-in product, found by its class once it is up.
#pragma once

#include <chrono>
#include <thread>

#include "support/windows_api.hpp"

namespace zu_test {

inline HWND wait_for_standin_window(int milliseconds = 10000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        if (HWND window = ::FindWindowW(L"MobrixStandInWindow", nullptr)) return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return nullptr;
}

}  // namespace zu_test
