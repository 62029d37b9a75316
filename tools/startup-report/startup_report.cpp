// Prints the install context as the installer's start-up leaves it.
#include <cstdio>
#include <string>

#include "app/install_app.hpp"
#include "i18n/language_state.hpp"
#include "support/windows_api.hpp"

namespace {

// The console may not be able to show every character; UTF-8 keeps them for a pipe.
void print(const wchar_t* label, const std::wstring& value) {
    std::wstring line = std::wstring(label) + L": " + value + L"\n";
    int size = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &bytes[0], size, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

const wchar_t* yes_no(bool value) { return value ? L"yes" : L"no"; }

}  // namespace

int wmain() {
    zu::CInstallApp app;
    app.showWizard = false;
    app.InitInstance();
    const zu::InstallContext& c = app.context;
    const auto& language = zu::language_table()[static_cast<size_t>(zu::get_language())];
    print(L"language", std::to_wstring(language.number) + L" (" + language.englishName + L")");
    print(L"title", c.appTitle);
    print(L"install state", std::to_wstring(c.installState));
    print(L"installed version", c.installedVersion);
    print(L"install folder", c.installFolder);
    print(L"shortcut folder", c.shortcutFolder);
    print(L"menu shortcut", yes_no(c.menuShortcut));
    print(L"desktop shortcut", yes_no(c.desktopShortcut));
    print(L"advanced mode", yes_no(c.advancedMode));
    return 0;
}
