// Works a wizard running in another process as a person would: finds its windows, reads
// their texts back, clicks enabled controls only, answers its message boxes. Every wait has a
// time-out, so that a wizard that does not answer fails the test instead of holding it.
#pragma once

#include "common/product_state.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "support/windows_api.hpp"

namespace zu_test {

// A Unix path of the build tree as Wine sees it.
inline std::wstring wine_path(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

inline std::wstring window_text(HWND window) {
    wchar_t text[4096] = L"";
    ::SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

inline std::wstring class_name(HWND window) {
    wchar_t name[64] = L"";
    ::GetClassNameW(window, name, 64);
    return name;
}

struct BoxSeen {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    bool yes = false, no = false, ok = false;
};

class WizardDriver {
public:
    // cleanMachine false: the wizard meets the machine as the test left it, and what it
    // installed stays for the test's next step. expectFrame false: the program is expected to
    // stop before its wizard (with a message box); WaitForFrame finds the frame if it comes later.
    explicit WizardDriver(const std::wstring& program, const std::wstring& arguments = L"", bool cleanMachine = true,
                          bool expectFrame = true)
        : cleanMachine_(cleanMachine) {
        if (cleanMachine_) zu_test::remove_product_from_machine();
        std::wstring command = L"\"" + program + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
            ADD_FAILURE() << "cannot start the wizard: error " << ::GetLastError();
            return;
        }
        ::WaitForInputIdle(process_.hProcess, 10000);
        if (expectFrame && !WaitForFrame()) ADD_FAILURE() << "the wizard frame did not appear";
    }
    ~WizardDriver() {
        if (!process_.hProcess) return;
        if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.hProcess, 99);  // our own child, left running by a failed test
            ::WaitForSingleObject(process_.hProcess, 5000);
        }
        ::CloseHandle(process_.hThread);
        if (cleanMachine_) zu_test::remove_product_from_machine();
        ::CloseHandle(process_.hProcess);
    }
    WizardDriver(const WizardDriver&) = delete;
    WizardDriver& operator=(const WizardDriver&) = delete;

    HWND Frame() const { return frame_; }
    HWND WaitForFrame(int milliseconds = 10000) {
        frame_ = WaitFor([this] { return FindTopLevel(true); }, milliseconds);
        return frame_;
    }
    DWORD ProcessId() const { return process_.dwProcessId; }

    // The page shown: the one visible child dialog of the frame.
    HWND Page() const {
        for (HWND child = ::GetWindow(frame_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (class_name(child) == L"#32770" && ::IsWindowVisible(child)) return child;
        }
        return nullptr;
    }
    // Which page is shown, told by a control only that page has; -1 when none is.
    int PageIndex() const {
        HWND page = Page();
        if (!page) return -1;
        const std::pair<int, int> marks[] = {{1023, 0}, {1018, 1}, {1009, 2}, {1011, 3}, {1015, 4}, {1016, 5}};
        for (auto [id, index] : marks) {
            if (::GetDlgItem(page, id)) return index;
        }
        return -1;
    }
    HWND PageItem(int id) const { return ::GetDlgItem(Page(), id); }
    std::wstring PageText(int id) const { return window_text(PageItem(id)); }
    HWND Button(int id) const { return ::GetDlgItem(frame_, id); }
    std::wstring ButtonText(int id) const { return window_text(Button(id)); }
    bool Enabled(HWND window) const { return ::IsWindowEnabled(window) != FALSE; }
    bool Checked(HWND button) const {
        DWORD_PTR state = 0;
        ::SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
        return state == BST_CHECKED;
    }
    std::wstring Title() const { return window_text(frame_); }

    // A click as the user makes it: only on a visible, enabled control.
    void Click(HWND control) {
        ASSERT_TRUE(control != nullptr);
        ASSERT_TRUE(::IsWindowVisible(control) && Enabled(control)) << "cannot click " << ::GetDlgCtrlID(control);
        ::PostMessageW(control, BM_CLICK, 0, 0);
        Settle();
    }
    void ClickButton(int id) { Click(Button(id)); }

    void SetEditText(HWND edit, const std::wstring& text) {
        ::SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, nullptr);
    }

    // Picks the item at position in the Start page's language list.
    void ChooseLanguage(int position) {
        HWND list = PageItem(1023);
        ASSERT_TRUE(list != nullptr);
        ::SendMessageTimeoutW(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        ::PostMessageW(Page(), WM_COMMAND, MAKEWPARAM(1023, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        Settle();
    }
    int LanguagePosition() const {
        DWORD_PTR selected = 0;
        ::SendMessageTimeoutW(PageItem(1023), CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selected);
        return static_cast<int>(static_cast<LRESULT>(selected));
    }

    // The next top-level dialog of the wizard's process other than the frame and except.
    HWND WaitForDialog(HWND except = nullptr, int milliseconds = 5000) const {
        return WaitFor([this, except] { return FindTopLevel(false, except); }, milliseconds);
    }
    BoxSeen WaitForBox(int milliseconds = 5000) const {
        BoxSeen box;
        box.window = WaitForDialog(nullptr, milliseconds);
        if (!box.window) return box;
        Settle();
        box.caption = window_text(box.window);
        box.text = window_text(::GetDlgItem(box.window, 0xFFFF));
        box.yes = ::GetDlgItem(box.window, IDYES) != nullptr;
        box.no = ::GetDlgItem(box.window, IDNO) != nullptr;
        box.ok = ::GetDlgItem(box.window, IDOK) != nullptr;
        return box;
    }
    void Answer(const BoxSeen& box, int button) {
        ASSERT_TRUE(box.window != nullptr);
        Click(::GetDlgItem(box.window, button));
    }

    // The wizard's exit code once it has ended, or STILL_ACTIVE.
    DWORD WaitForExit(int milliseconds = 10000) const {
        ::WaitForSingleObject(process_.hProcess, static_cast<DWORD>(milliseconds));
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    // Lets the wizard handle what was posted to it: two round trips through its queue.
    void Settle() const {
        for (int i = 0; i < 3; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
            if (frame_) ::SendMessageTimeoutW(frame_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        }
    }

    // With ZU_SCREENSHOTS set to a folder, a 24-bit BMP of the screen area that the wizard's
    // windows cover, named name.bmp.
    void Screenshot(const char* name) const {
        const char* folder = std::getenv("ZU_SCREENSHOTS");
        if (!folder || !*folder) return;
        Settle();
        RECT area{};
        struct Search {
            DWORD pid;
            RECT* area;
        } search{process_.dwProcessId, &area};
        ::EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(w, &pid);
                if (pid == s->pid && ::IsWindowVisible(w)) {
                    RECT r{};
                    ::GetWindowRect(w, &r);
                    ::UnionRect(s->area, s->area, &r);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        const int w = area.right - area.left, h = area.bottom - area.top;
        if (w <= 0 || h <= 0) return;
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
        BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
        file.bfSize = file.bfOffBits + stride * static_cast<DWORD>(h);
        std::string path = std::string(folder) + "/" + name + ".bmp";
        if (FILE* out = std::fopen(path.c_str(), "wb")) {
            std::fwrite(&file, sizeof file, 1, out);
            std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
            std::fwrite(bits, stride, static_cast<size_t>(h), out);
            std::fclose(out);
        }
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
    }

private:
    template <class F>
    static HWND WaitFor(F find, int milliseconds = 10000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        do {
            if (HWND found = find()) return found;
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        } while (std::chrono::steady_clock::now() < deadline);
        return nullptr;
    }

    HWND FindTopLevel(bool frame, HWND except = nullptr) const {
        struct Search {
            DWORD pid;
            bool frame;
            HWND except, skip, found;
        } search{process_.dwProcessId, frame, except, frame_, nullptr};
        ::EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(w, &pid);
                if (pid != s->pid || !::IsWindowVisible(w) || class_name(w) != L"#32770") return TRUE;
                const bool isFrame = ::GetDlgItem(w, 1005) != nullptr;
                if (s->frame ? isFrame : (w != s->skip && w != s->except && !isFrame)) {
                    s->found = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    bool cleanMachine_ = true;
    PROCESS_INFORMATION process_{};
    HWND frame_ = nullptr;
};

}  // namespace zu_test
