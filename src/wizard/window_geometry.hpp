// Rectangles of child windows in their parent's client coordinates.
#pragma once

#include "support/windows_api.hpp"

namespace zu {

inline RECT child_rect(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline void move_window(HWND window, const RECT& r, UINT flags = 0) {
    ::SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | flags);
}

inline int width_of(const RECT& r) { return r.right - r.left; }
inline int height_of(const RECT& r) { return r.bottom - r.top; }

}  // namespace zu
