#include "wizard/wizard_page.hpp"

#include "wizard/window_geometry.hpp"

namespace zu {

void WizardPageDialog::ApplyLayout(std::initializer_list<LayoutRule> rules, int w, int h) const {
    for (const LayoutRule& rule : rules) {
        HWND control = Item(rule.id);
        if (!control) continue;
        RECT r = child_rect(control);
        switch (rule.grow) {
        case Grow::Widen:
            r.right += w;
            break;
        case Grow::WidenAndGrowDown:
            r.right += w;
            r.bottom += h;
            break;
        case Grow::MoveRight:
            ::OffsetRect(&r, w, 0);
            break;
        case Grow::WidenAndMoveDown:
            r.right += w;
            ::OffsetRect(&r, 0, h);
            break;
        }
        move_window(control, r);
    }
}

}  // namespace zu
