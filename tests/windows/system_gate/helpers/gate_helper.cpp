// Runs the system gate on a system of the caller's choosing and reports what happened:
//   system_gate_helper REPORT SSE2 VERSION_READ MAJOR MINOR SERVICE_PACK
// Lines appended to REPORT: what the gate's message box showed (seen from inside this process,
// then closed with OK), whether the version was read, "passed" after a gate that returned, and
// "destructor" when static destructors ran. The real gate also runs during this program's
// static initialisation, as in the installer; "flag-before-statics" tells whether its flag was
// set before an ordinary static object was made.
#include "support/system_gate.hpp"
#include "support/windows_api.hpp"

#include <cstdlib>
#include <string>

namespace {

std::wstring reportPath;

void report(const std::wstring& line) {
    if (reportPath.empty()) return;
    HANDLE file = ::CreateFileW(reportPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::wstring escaped;
    for (wchar_t c : line) escaped += c == L'\n' ? std::wstring(L"\\n") : c == L'\r' ? std::wstring(L"\\r") : std::wstring(1, c);
    escaped += L"\n";
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, escaped.c_str(), static_cast<int>(escaped.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, escaped.c_str(), static_cast<int>(escaped.size()), utf8.data(), bytes, nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(file);
}

// An ordinary static object: made after every prioritised one.
struct ordinary_static {
    ordinary_static() : gateFlagSeen(zu::system_gate_passed()) {}
    ~ordinary_static() { report(L"destructor"); }
    bool gateFlagSeen;
} ordinary;

class chosen_system final : public zu::system_queries {
public:
    chosen_system(bool sse2, bool readable, const zu::os_version_record& version)
        : sse2_(sse2), readable_(readable), version_(version) {}
    bool processor_has_sse2() const override { return sse2_; }
    bool read_version(zu::os_version_record& version) const override {
        report(L"version-read");
        if (readable_) version = version_;
        return readable_;
    }

private:
    bool sse2_;
    bool readable_;
    zu::os_version_record version_;
};

std::wstring window_text(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring class_of(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring icon_name(HICON icon) {
    if (!icon) return L"none";
    struct Known {
        LPCWSTR id;
        const wchar_t* name;
    } known[] = {{IDI_HAND, L"stop"}, {IDI_QUESTION, L"question"}, {IDI_EXCLAMATION, L"exclamation"},
                 {IDI_ASTERISK, L"information"}};
    for (const Known& k : known)
        if (::LoadIconW(nullptr, k.id) == icon) return k.name;
    return L"other";
}

BOOL CALLBACK find_dialog(HWND window, LPARAM found) {
    if (class_of(window) == L"#32770" && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

struct box_contents {
    std::wstring text;
    std::wstring icon = L"none";
    std::wstring buttons;
};

BOOL CALLBACK read_child(HWND child, LPARAM contents) {
    auto& box = *reinterpret_cast<box_contents*>(contents);
    if (!::IsWindowVisible(child)) return TRUE;
    const std::wstring kind = class_of(child);
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    if (_wcsicmp(kind.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        box.icon = icon_name(reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0)));
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0 && ::GetDlgCtrlID(child) == 0xFFFF) {
        box.text = window_text(child);
    } else if (_wcsicmp(kind.c_str(), L"Button") == 0) {
        if (!box.buttons.empty()) box.buttons += L",";
        box.buttons += std::to_wstring(::GetDlgCtrlID(child));
    }
    return TRUE;
}

DWORD WINAPI observe_message_box(void* mainThread) {
    const DWORD threadId = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(mainThread));
    for (int attempt = 0; attempt < 600; ++attempt) {
        HWND box = nullptr;
        ::EnumThreadWindows(threadId, find_dialog, reinterpret_cast<LPARAM>(&box));
        if (box) {
            ::Sleep(50);  // let the box finish laying itself out
            box_contents contents;
            ::EnumChildWindows(box, read_child, reinterpret_cast<LPARAM>(&contents));
            report(L"text=" + contents.text);
            report(L"caption=" + window_text(box));
            report(std::wstring(L"owner=") + (::GetWindow(box, GW_OWNER) ? L"yes" : L"none"));
            report(L"icon=" + contents.icon);
            report(L"buttons=" + contents.buttons);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        ::Sleep(100);
    }
    report(L"no-box");
    ::ExitProcess(99);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 7) return 2;
    reportPath = argv[1];
    report(std::wstring(L"flag-before-statics=") + (ordinary.gateFlagSeen ? L"1" : L"0"));
    zu::os_version_record version;
    version.platformId = 2;
    version.majorVersion = static_cast<std::uint32_t>(std::wcstoul(argv[4], nullptr, 10));
    version.minorVersion = static_cast<std::uint32_t>(std::wcstoul(argv[5], nullptr, 10));
    version.servicePackMajor = static_cast<std::uint16_t>(std::wcstoul(argv[6], nullptr, 10));
    chosen_system system(argv[2][0] == L'1', argv[3][0] == L'1', version);

    void* mainThread = reinterpret_cast<void*>(static_cast<std::uintptr_t>(::GetCurrentThreadId()));
    HANDLE observer = ::CreateThread(nullptr, 0, observe_message_box, mainThread, 0, nullptr);
    if (!observer) return 3;
    ::CloseHandle(observer);

    if (zu::check_system(system)) report(L"passed");
    return 0;
}
