// The frame in this process, where its system menu, icons and size limits can be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "app/install_app.hpp"
#include "common/registry_sandbox.hpp"
#include "i18n/language_state.hpp"
#include "i18n/messages.hpp"
#include "wizard/install_dlg.hpp"
#include "wizard_driver.hpp"

namespace {

struct FrameSeen {
    std::wstring aboutItem, aboutItemGerman;
    bool hasMaximize = true, hasSize = true, hasMinimize = false;
    bool restoreGreyed = false, minimizeGreyed = true;
    bool bigIcon = false, smallIcon = true, dragIconIsBig = false;
    MINMAXINFO limits{};
    RECT normal{};
    std::vector<RECT> pages;
    std::vector<std::pair<LPARAM, std::wstring>> languages;  // item data and text, in list order
    std::vector<int> images;
    int droppedWidth = 0, comboWidth = 0, widestName = 0;
    RECT area{};  // client area right of the white panel and above the separator, after growth
};

std::wstring menu_text(HWND frame, UINT id) {
    wchar_t text[256] = L"";
    ::GetMenuStringW(::GetSystemMenu(frame, FALSE), id, text, 256, MF_BYCOMMAND);
    return text;
}

HWND find_frame() {
    struct S {
        HWND found;
    } s{nullptr};
    ::EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(w) && ::GetDlgItem(w, 1005)) {
                reinterpret_cast<S*>(p)->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Cancel, then Yes to the question.
void leave(HWND frame) {
    ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    for (int i = 0; i < 400 && ::IsWindow(frame); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        HWND box = ::GetLastActivePopup(frame);
        if (box && box != frame && ::GetDlgItem(box, IDYES)) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    }
}

HWND wait_for_frame() {
    HWND frame = nullptr;
    for (int i = 0; i < 400 && !frame; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(25))) frame = find_frame();
    return frame;
}

TEST(WizardFrame, LanguageOutsideTheListSelectsNoItem) {
    zu_test::UninstallKeySandbox key;
    zu::set_language(zu::kVietnamese);
    zu::CInstallApp app;
    app.UpdateTitle();
    int selected = 0;
    std::thread person([&selected] {
        HWND frame = wait_for_frame();
        if (!frame) return;
        HWND start = ::GetWindow(frame, GW_CHILD);
        while (start && !::GetDlgItem(start, 1023)) start = ::GetWindow(start, GW_HWNDNEXT);
        selected = static_cast<int>(::SendMessageW(::GetDlgItem(start, 1023), CB_GETCURSEL, 0, 0));
        leave(frame);
    });
    {
        zu::CInstallDlg wizard(app);
        wizard.DoModal(nullptr);
    }
    person.join();
    zu::set_language(zu::kEnglish);
    EXPECT_EQ(selected, -1);
}

TEST(WizardFrame, SystemMenuIconsSizeLimitsAndSharedPageRectangle) {
    zu_test::UninstallKeySandbox key;
    zu::set_language(zu::kEnglish);
    zu::CInstallApp app;
    app.UpdateTitle();
    app.context.installFolder = L"C:\\Program Files\\Quillon\\Mobrix 6";
    app.context.shortcutFolder = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quillon\\Mobrix 6";

    FrameSeen seen;
    std::thread person([&seen] {
        HWND frame = wait_for_frame();
        if (!frame) return;
        HMENU menu = ::GetSystemMenu(frame, FALSE);
        seen.aboutItem = menu_text(frame, 16);
        seen.hasMaximize = ::GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND) != static_cast<UINT>(-1);
        seen.hasSize = ::GetMenuState(menu, SC_SIZE, MF_BYCOMMAND) != static_cast<UINT>(-1);
        seen.hasMinimize = ::GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) != static_cast<UINT>(-1);
        ::SendMessageW(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
        seen.restoreGreyed = ::GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED;
        seen.minimizeGreyed = ::GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) & MF_GRAYED;
        const LRESULT big = ::SendMessageW(frame, WM_GETICON, ICON_BIG, 0);
        seen.bigIcon = big != 0;
        seen.smallIcon = ::SendMessageW(frame, WM_GETICON, ICON_SMALL, 0) != 0;
        seen.dragIconIsBig = ::SendMessageW(frame, WM_QUERYDRAGICON, 0, 0) == big && big != 0;
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        ::GetWindowPlacement(frame, &placement);
        seen.normal = placement.rcNormalPosition;
        ::SendMessageW(frame, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&seen.limits));
        for (HWND child = ::GetWindow(frame, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (zu_test::class_name(child) != L"#32770") continue;
            RECT r{};
            ::GetWindowRect(child, &r);
            ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
            seen.pages.push_back(r);
        }
        RECT panel{}, separator{};
        ::GetClientRect(frame, &seen.area);
        ::GetWindowRect(::GetDlgItem(frame, 1005), &panel);
        ::GetWindowRect(::GetDlgItem(frame, 1002), &separator);
        ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&panel), 2);
        ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&separator), 2);
        seen.area.left = panel.right;
        seen.area.bottom = separator.top;

        // German from the list: the About item follows.
        HWND start = nullptr;
        for (HWND child = ::GetWindow(frame, GW_CHILD); child && !start; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (::GetDlgItem(child, 1023)) start = child;
        }
        HWND list = ::GetDlgItem(start, 1023);
        HDC dc = ::GetDC(list);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(start, WM_GETFONT, 0, 0)));
        for (int i = 0; i < static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0)); ++i) {
            wchar_t text[257] = L"";
            COMBOBOXEXITEMW item{};
            item.mask = CBEIF_TEXT | CBEIF_LPARAM | CBEIF_IMAGE;
            item.iItem = i;
            item.pszText = text;
            item.cchTextMax = 256;
            ::SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            seen.languages.emplace_back(item.lParam, text);
            seen.images.push_back(item.iImage);
            SIZE size{};
            ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
            seen.widestName = std::max(seen.widestName, static_cast<int>(size.cx));
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(list, dc);
        HWND inner = reinterpret_cast<HWND>(::SendMessageW(list, CBEM_GETCOMBOCONTROL, 0, 0));
        seen.droppedWidth = static_cast<int>(::SendMessageW(inner, CB_GETDROPPEDWIDTH, 0, 0));
        RECT combo{};
        ::GetWindowRect(inner, &combo);
        seen.comboWidth = combo.right - combo.left;
        ::SendMessageW(::GetDlgItem(start, 1023), CB_SETCURSEL, 2, 0);
        ::SendMessageW(start, WM_COMMAND, MAKEWPARAM(1023, CBN_SELCHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(start, 1023)));
        seen.aboutItemGerman = menu_text(frame, 16);

        leave(frame);
    });
    {
        zu::CInstallDlg wizard(app);
        EXPECT_EQ(wizard.DoModal(nullptr), IDCANCEL);
    }
    person.join();

    EXPECT_EQ(seen.aboutItem, L"&About 'Installer'...");
    const int order[] = {0, 1, 2, 3, 11, 4, 5, 14, 7, 9, 10, 16};
    ASSERT_EQ(seen.languages.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(seen.languages[i].first, order[i]);
        EXPECT_EQ(seen.languages[i].second, zu::language_native_name(order[i]));
        EXPECT_EQ(seen.images[i], static_cast<int>(i)) << "one flag per item, in order";
    }
    EXPECT_EQ(seen.languages[2].second, L"Deutsch");
    // The list drops at least as wide as the control itself.
    EXPECT_EQ(seen.droppedWidth, std::max(seen.widestName + 30, seen.comboWidth));
    zu::set_language(2);
    EXPECT_EQ(seen.aboutItemGerman, L"&" + FormatMessageText(zu::MessageId(3), {LoadMessage(zu::MessageId(0))}) + L"...");
    zu::set_language(zu::kEnglish);
    EXPECT_FALSE(seen.hasMaximize);
    EXPECT_FALSE(seen.hasSize);
    EXPECT_TRUE(seen.hasMinimize);
    EXPECT_TRUE(seen.restoreGreyed) << "the window is not minimised";
    EXPECT_FALSE(seen.minimizeGreyed);
    EXPECT_TRUE(seen.bigIcon);
    EXPECT_FALSE(seen.smallIcon);
    EXPECT_TRUE(seen.dragIconIsBig);
    EXPECT_EQ(seen.limits.ptMaxSize.x, seen.normal.right - seen.normal.left);
    EXPECT_EQ(seen.limits.ptMaxSize.y, seen.normal.bottom - seen.normal.top);
    EXPECT_EQ(seen.limits.ptMaxPosition.x, seen.normal.left);
    EXPECT_EQ(seen.limits.ptMaxPosition.y, seen.normal.top);
    // All six pages share one rectangle, which fills the grown page area exactly.
    ASSERT_EQ(seen.pages.size(), 6u);
    for (const RECT& r : seen.pages) {
        EXPECT_TRUE(::EqualRect(&r, &seen.pages[0]));
    }
    EXPECT_TRUE(::EqualRect(&seen.pages[0], &seen.area))
        << seen.pages[0].left << "," << seen.pages[0].top << "," << seen.pages[0].right << "," << seen.pages[0].bottom
        << " vs " << seen.area.left << "," << seen.area.top << "," << seen.area.right << "," << seen.area.bottom;
}

}  // namespace
