#include "payload/special_folders.hpp"

#include "support/windows_api.hpp"

namespace zu {
namespace {

BOOL CALLBACK find_captioned_window(HWND window, LPARAM found) {
    if ((::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The shell may show a dialog (a disconnected network folder, for instance); it belongs to the
// window the user is looking at.
HWND shell_owner_window() {
    HWND window = ::GetActiveWindow();
    if (!window) ::EnumThreadWindows(::GetCurrentThreadId(), find_captioned_window, reinterpret_cast<LPARAM>(&window));
    if (!window) return nullptr;
    return ::GetLastActivePopup(::GetAncestor(window, GA_ROOTOWNER));
}

}  // namespace

std::wstring system_special_folder(int folder) {
    wchar_t buffer[MAX_PATH] = {};
    // Success is judged by the buffer alone: some shells answer S_FALSE with a path, or fail
    // after writing nothing.
    ::SHGetFolderPathW(shell_owner_window(), folder, nullptr, SHGFP_TYPE_CURRENT, buffer);
    buffer[MAX_PATH - 1] = L'\0';
    return buffer;
}

}  // namespace zu
