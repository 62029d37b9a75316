// Mobrix.exe, the stand-in for the installed product. It honours what the installer relies
// on: it holds a unit of the running-product counter while it runs, carries the product's
// version resource, and with " /Register /Background" registers its file association and
// its installation record, then ends with -10.
//
// For tests and demos, ZU_STANDIN_REGISTER_EXIT (a decimal number) replaces the exit code of
// the registration run, so that a failing registration can be shown; ZU_STANDIN_REGISTER_DELAY
// (milliseconds) makes the registration run last that long.
#include <cstdlib>
#include <string>

#include "i18n/language_state.hpp"
#include "i18n/stored_language.hpp"
#include "support/named_objects.hpp"
#include "support/object_names.hpp"
#include "support/product_identity.hpp"
#include "support/security_api.hpp"
#include "support/windows_api.hpp"
#include "system/file_association.hpp"
#include "system/installation_record.hpp"

namespace {

// Registered before anything else runs, released when the process ends.
struct CounterUnit {
    CounterUnit() {
        try {
            counter.register_process(zu::running_product_counter_name().c_str());
        } catch (zu::security_error) {
        }
    }
    zu::instance_counter counter;
} counterUnit;

std::wstring own_path() {
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

int registration_run() {
    const std::wstring path = own_path();
    const bool ok = zu::RegisterFileAssociation(path) && zu::WriteInstallationRecord(path);
    int exitCode = ok ? -10 : 1;
    wchar_t wanted[32] = L"";
    if (::GetEnvironmentVariableW(L"ZU_STANDIN_REGISTER_EXIT", wanted, 32) > 0) exitCode = _wtoi(wanted);
    // A registration that takes its time, for the tests of the installer's wait.
    wchar_t delay[32] = L"";
    if (::GetEnvironmentVariableW(L"ZU_STANDIN_REGISTER_DELAY", delay, 32) > 0) ::Sleep(static_cast<DWORD>(_wtoi(delay)));
    return exitCode;
}

std::wstring window_text() {
    const std::optional<long long> stored = zu::read_stored_language();
    std::wstring language = L"(none stored)";
    if (stored && *stored >= 0 && *stored < zu::kLanguageCount) {
        language = zu::language_table()[static_cast<size_t>(*stored)].englishName;
    }
    return std::wstring(zu::ProductIdentity::fullName) + L" \u2013 stand-in product\r\nLanguage: " + language;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        RECT area;
        ::GetClientRect(window, &area);
        ::InflateRect(&area, -12, -12);
        const std::wstring text = window_text();
        ::DrawTextW(dc, text.c_str(), -1, &area, DT_LEFT | DT_TOP);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

int show_window(HINSTANCE instance, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"MobrixStandInWindow";
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowW(windowClass.lpszClassName, zu::ProductIdentity::fullName, WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 420, 160, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ::ShowWindow(window, show);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    const std::wstring arguments = commandLine ? commandLine : L"";
    if (arguments.find(L"/Register") != std::wstring::npos) return registration_run();
    return show_window(instance, show);
}
