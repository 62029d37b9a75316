#include "ui/combo_box_ex.hpp"

#include "ui/dialog.hpp"

namespace zu::ui {

unique_icon load_icon(unsigned id, int width, int height) {
    return unique_icon(static_cast<HICON>(
        ::LoadImageW(resource_module(), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
}

void ComboBoxEx::SetImageList(HIMAGELIST list) const {
    ::SendMessageW(window_, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
}

int ComboBoxEx::InsertItem(int position, const std::wstring& text, int image, LPARAM data) const {
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
    item.iItem = position;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    item.iSelectedImage = image;
    item.lParam = data;
    return static_cast<int>(::SendMessageW(window_, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int ComboBoxEx::Count() const { return static_cast<int>(::SendMessageW(window_, CB_GETCOUNT, 0, 0)); }

std::optional<std::wstring> ComboBoxEx::ItemText(int position) const {
    wchar_t buffer[257] = L"";
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = position;
    item.pszText = buffer;
    item.cchTextMax = 256;
    if (!::SendMessageW(window_, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return std::nullopt;
    return std::wstring(item.pszText);
}

std::optional<LPARAM> ComboBoxEx::ItemData(int position) const {
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_LPARAM;
    item.iItem = position;
    if (!::SendMessageW(window_, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return std::nullopt;
    return item.lParam;
}

int ComboBoxEx::CurSel() const { return static_cast<int>(::SendMessageW(window_, CB_GETCURSEL, 0, 0)); }
void ComboBoxEx::SetCurSel(int position) const { ::SendMessageW(window_, CB_SETCURSEL, static_cast<WPARAM>(position), 0); }
void ComboBoxEx::SetDroppedWidth(int pixels) const {
    // Straight to the inner combo box: not every ComboBoxEx (Wine's) passes this message on.
    HWND combo = reinterpret_cast<HWND>(::SendMessageW(window_, CBEM_GETCOMBOCONTROL, 0, 0));
    ::SendMessageW(combo ? combo : window_, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(pixels), 0);
}

}  // namespace zu::ui
