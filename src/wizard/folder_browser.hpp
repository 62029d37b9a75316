// The shell's folder browser, proposing the product's sub-folder under whatever folder is
// picked and checking a typed path before the browser closes on it. One object per Browse;
// it releases its root item and its COM initialisation when it goes.
#pragma once

#include <string>

#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"

namespace zu {

struct shell_item_traits {
    using value_type = PIDLIST_ABSOLUTE;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type item) noexcept { ::CoTaskMemFree(item); }
};
using unique_shell_item = unique_resource<shell_item_traits>;

class FolderBrowser {
public:
    // The chosen absolute folder, empty when the user cancelled. No root.
    static std::wstring BrowseForInstallFolder(const std::wstring& current, const std::wstring& subFolder,
                                               const std::wstring& title);

    struct ShortcutChoice {
        std::wstring absolute;  // empty when the user cancelled
        std::wstring relative;  // relative to the parent of the all-users programs folder
    };
    // Rooted at the all-users Start-menu programs folder (no root when it is unavailable).
    static ShortcutChoice BrowseForShortcutFolder(const std::wstring& current, const std::wstring& subFolder,
                                                  const std::wstring& title);

    FolderBrowser(const FolderBrowser&) = delete;
    FolderBrowser& operator=(const FolderBrowser&) = delete;
    ~FolderBrowser();

private:
    FolderBrowser(std::wstring subFolder, std::wstring title, bool rooted);
    bool Browse(const std::wstring& current);
    static int CALLBACK Callback(HWND window, UINT message, LPARAM lParam, LPARAM self);
    int OnCallback(HWND window, UINT message, LPARAM lParam);
    void ShowPathInEditBox() const;
    // The check of a typed text; false (after showing the error) keeps the browser open.
    bool AcceptTypedText(HWND browser, const wchar_t* typed);
    static LRESULT CALLBACK GuardOk(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);

    std::wstring path_;
    std::wstring subFolder_;
    std::wstring title_;
    unique_shell_item root_;
    std::wstring rootParent_;
    bool comInitialised_ = false;
    bool dialogReady_ = false;
    bool typedPathAccepted_ = false;
    HWND editBox_ = nullptr;
};

}  // namespace zu
