#include "wizard/folder_browser.hpp"

#include "engine/folder_rules.hpp"
#include "support/error_reporting.hpp"

namespace zu {
namespace {

BOOL CALLBACK find_captioned(HWND window, LPARAM found) {
    if ((::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND browser_owner() {
    HWND owner = ::GetActiveWindow();
    if (owner) {
        owner = ::GetAncestor(owner, GA_ROOTOWNER);
    } else {
        ::EnumThreadWindows(::GetCurrentThreadId(), find_captioned, reinterpret_cast<LPARAM>(&owner));
    }
    return owner ? ::GetLastActivePopup(owner) : nullptr;
}

const std::wstring& documents_folder() {
    static const std::wstring folder = [] {
        wchar_t buffer[MAX_PATH] = L"";
        ::SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buffer);
        return std::wstring(buffer);
    }();
    return folder;
}

std::wstring item_path(PCIDLIST_ABSOLUTE item) {
    wchar_t buffer[MAX_PATH] = L"";
    return item && ::SHGetPathFromIDListW(item, buffer) ? std::wstring(buffer) : std::wstring();
}

BOOL CALLBACK find_edit(HWND window, LPARAM found) {
    wchar_t className[16] = L"";
    ::GetClassNameW(window, className, 16);
    if (::lstrcmpiW(className, L"Edit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The system's qualification, against base as the current directory when it is not already.
std::uint32_t qualify_with_system(const std::wstring& text, const std::wstring& base, std::wstring& qualified) {
    wchar_t saved[MAX_PATH] = L"";
    const bool moveCurrent = ::GetCurrentDirectoryW(MAX_PATH, saved) == 0 || ::lstrcmpiW(saved, base.c_str()) != 0;
    if (moveCurrent && !::SetCurrentDirectoryW(base.c_str())) return ::GetLastError();
    wchar_t buffer[MAX_PATH] = L"";
    const BOOL ok = ::PathSearchAndQualifyW(text.c_str(), buffer, MAX_PATH);
    if (moveCurrent) ::SetCurrentDirectoryW(saved);
    if (!ok) return kErrorBadPathname;
    qualified = buffer;
    return 0;
}

}  // namespace

FolderBrowser::FolderBrowser(std::wstring subFolder, std::wstring title, bool rooted)
    : subFolder_(std::move(subFolder)), title_(std::move(title)) {
    if (rooted && SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_PROGRAMS, root_.put())) && root_) {
        wchar_t parent[MAX_PATH] = L"";
        ::lstrcpynW(parent, item_path(root_.get()).c_str(), MAX_PATH);
        ::PathRemoveFileSpecW(parent);
        rootParent_ = parent;
    }
}

FolderBrowser::~FolderBrowser() {
    root_.reset();
    if (comInitialised_) ::CoUninitialize();
}

std::wstring FolderBrowser::BrowseForInstallFolder(const std::wstring& current, const std::wstring& subFolder,
                                                   const std::wstring& title) {
    FolderBrowser browser(subFolder, title, false);
    return browser.Browse(current) ? browser.path_ : std::wstring();
}

FolderBrowser::ShortcutChoice FolderBrowser::BrowseForShortcutFolder(const std::wstring& current,
                                                                     const std::wstring& subFolder,
                                                                     const std::wstring& title) {
    FolderBrowser browser(subFolder, title, true);
    ShortcutChoice choice;
    if (!browser.Browse(current)) return choice;
    choice.absolute = browser.path_;
    choice.relative = browser.rootParent_.empty() ? browser.path_ : RelativeFolder(browser.rootParent_, browser.path_);
    return choice;
}

bool FolderBrowser::Browse(const std::wstring& current) {
    HWND owner = browser_owner();
    if (!comInitialised_) {
        const HRESULT result = ::CoInitialize(nullptr);
        if (FAILED(result)) return show_system_error(owner, static_cast<std::uint32_t>(result));
        comInitialised_ = true;
    }
    dialogReady_ = false;
    typedPathAccepted_ = false;

    path_ = current;
    if (path_.empty() || ::PathIsRelativeW(path_.c_str())) path_.clear();
    if (path_.empty() && root_) path_ = item_path(root_.get());
    if (path_.empty()) {
        path_ = documents_folder();
    } else if (path_.back() == L':') {
        path_ += L'\\';
    }
    const std::wstring sub = IsValidPathText(subFolder_) ? subFolder_ : std::wstring();
    path_ = ProposeSubFolder(path_, sub, rootParent_);

    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = root_.get();
    info.lpszTitle = title_.empty() ? nullptr : title_.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
    info.lpfn = Callback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    unique_shell_item chosen(::SHBrowseForFolderW(&info));
    if (!chosen) return typedPathAccepted_;  // a typed path that was accepted stands on its own
    const std::wstring chosenPath = item_path(chosen.get());
    if (chosenPath.empty() && !typedPathAccepted_) return false;
    if (!typedPathAccepted_) path_ = chosenPath;
    return true;
}

bool FolderBrowser::AcceptTypedText(HWND browser, const wchar_t* typed) {
    TypedPathContext context;
    wchar_t current[MAX_PATH] = L"";
    if (::GetCurrentDirectoryW(MAX_PATH, current) == 0) context.currentDirectoryError = ::GetLastError();
    context.currentDirectory = current;
    context.rootParent = rootParent_;
    context.qualify = qualify_with_system;
    const TypedPathResult result = ValidateTypedPath(typed ? typed : L"", context);
    if (result.error != 0) return show_system_error(browser, result.error);
    path_ = result.path;
    typedPathAccepted_ = true;
    return true;
}

LRESULT CALLBACK FolderBrowser::GuardOk(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
    auto* browser = reinterpret_cast<FolderBrowser*>(self);
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED && browser->editBox_) {
        std::wstring typed(static_cast<std::size_t>(::GetWindowTextLengthW(browser->editBox_)) + 1, L'\0');
        typed.resize(static_cast<std::size_t>(::GetWindowTextW(browser->editBox_, typed.data(), static_cast<int>(typed.size()))));
        if (!browser->AcceptTypedText(window, typed.c_str())) return 0;
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, GuardOk, 1);
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

int CALLBACK FolderBrowser::Callback(HWND window, UINT message, LPARAM lParam, LPARAM self) {
    return reinterpret_cast<FolderBrowser*>(self)->OnCallback(window, message, lParam);
}

void FolderBrowser::ShowPathInEditBox() const {
    if (!editBox_) return;
    ::SetWindowTextW(editBox_, path_.c_str());
    ::SendMessageW(editBox_, EM_SETSEL, 0, -1);
}

int FolderBrowser::OnCallback(HWND window, UINT message, LPARAM lParam) {
    switch (message) {
    case BFFM_INITIALIZED: {
        dialogReady_ = true;
        wchar_t folder[MAX_PATH] = L"";
        ::lstrcpynW(folder, rootParent_.empty() ? path_.c_str() : rootParent_.c_str(), MAX_PATH);
        if (!rootParent_.empty()) ::PathAppendW(folder, path_.c_str());
        while (!::PathIsDirectoryW(folder) && ::PathRemoveFileSpecW(folder)) {
        }
        const bool selected = ::PathIsDirectoryW(folder) != FALSE;
        if (selected) {
            ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder));
            ::SendMessageW(window, BFFM_SETEXPANDED, TRUE, reinterpret_cast<LPARAM>(folder));
        }
        editBox_ = nullptr;
        ::EnumChildWindows(window, find_edit, reinterpret_cast<LPARAM>(&editBox_));
        if (selected) ShowPathInEditBox();
        // Some browsers (Wine's) neither validate the edit box nor return what was typed in
        // it; checking the text on OK ourselves makes every browser behave alike.
        if (editBox_) ::SetWindowSubclass(window, GuardOk, 1, reinterpret_cast<DWORD_PTR>(this));
        return 0;
    }
    case BFFM_SELCHANGED: {
        if (!dialogReady_) return 0;
        const std::wstring selected = item_path(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam));
        if (!selected.empty()) path_ = selected;
        path_ = ProposeSubFolder(path_, IsValidPathText(subFolder_) ? subFolder_ : std::wstring(), rootParent_);
        ShowPathInEditBox();
        return 0;
    }
    case BFFM_VALIDATEFAILEDW:
        return AcceptTypedText(window, reinterpret_cast<const wchar_t*>(lParam)) ? 0 : 1;
    default:
        return 0;
    }
}

}  // namespace zu
