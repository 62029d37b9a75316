#include "support/application_window.hpp"

namespace zu {
namespace {

std::wstring& title_storage() {
    static std::wstring title = [] {
        wchar_t path[MAX_PATH] = L"";
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring name = ::PathFindFileNameW(path);
        if (auto dot = name.rfind(L'.'); dot != std::wstring::npos) name.erase(dot);
        return name;
    }();
    return title;
}

HWND g_mainWindow = nullptr;

}  // namespace

void set_application_title(const std::wstring& title) { title_storage() = title; }
std::wstring application_title() { return title_storage(); }

void set_application_main_window(HWND window) { g_mainWindow = window; }

HWND application_safe_owner() {
    if (g_mainWindow && ::IsWindow(g_mainWindow)) return ::GetAncestor(g_mainWindow, GA_ROOT);
    HWND active = ::GetActiveWindow();
    if (!active) return nullptr;
    DWORD process = 0;
    ::GetWindowThreadProcessId(active, &process);
    return process == ::GetCurrentProcessId() ? ::GetAncestor(active, GA_ROOT) : nullptr;
}

}  // namespace zu
