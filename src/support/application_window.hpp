// What the support library knows of the application it serves: its title (the caption of
// message boxes without one) and its main window (their owner).
#pragma once

#ifdef _WIN32
#include <string>

#include "support/windows_api.hpp"

namespace zu {

// Before the application sets one, the title is the executable's name without extension.
void set_application_title(const std::wstring& title);
std::wstring application_title();

void set_application_main_window(HWND window);
// The main window, or failing that the active top-level window of this process; may be null.
HWND application_safe_owner();

}  // namespace zu
#endif
