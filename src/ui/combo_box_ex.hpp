// The extended combo box with its image list. ComboBoxEx is a non-owning view of the control;
// ImageList owns its list (the control does not destroy the list it is given).
#pragma once

#include <optional>
#include <string>

#include "support/unique_resource.hpp"
#include "support/windows_api.hpp"

namespace zu::ui {

struct image_list_traits {
    using value_type = HIMAGELIST;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type list) noexcept { ::ImageList_Destroy(list); }
};
using ImageList = unique_resource<image_list_traits>;

struct icon_traits {
    using value_type = HICON;
    static value_type invalid() noexcept { return nullptr; }
    static void close(value_type icon) noexcept { ::DestroyIcon(icon); }
};
using unique_icon = unique_resource<icon_traits>;

// An icon resource of the executable at the size asked for.
unique_icon load_icon(unsigned id, int width, int height);

class ComboBoxEx {
public:
    ComboBoxEx() = default;
    explicit ComboBoxEx(HWND window) : window_(window) {}
    HWND hwnd() const { return window_; }

    void SetImageList(HIMAGELIST list) const;
    // The position given to the item, or -1.
    int InsertItem(int position, const std::wstring& text, int image, LPARAM data) const;
    int Count() const;
    std::optional<std::wstring> ItemText(int position) const;  // at most 256 characters
    std::optional<LPARAM> ItemData(int position) const;
    int CurSel() const;
    void SetCurSel(int position) const;
    void SetDroppedWidth(int pixels) const;

private:
    HWND window_ = nullptr;
};

}  // namespace zu::ui
