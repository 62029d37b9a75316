// What the frame asks of each of its pages besides the dialog machinery: its texts in the
// current language and its share of the frame's growth.
#pragma once

#include <initializer_list>

#include "app/install_app.hpp"
#include "ui/dialog.hpp"

namespace zu {

class WizardPageDialog : public ui::Dialog {
public:
    WizardPageDialog(unsigned templateId, CInstallApp& app) : ui::Dialog(templateId), app_(app) {}

    virtual void Relabel() = 0;
    // The page has grown by (w, h) pixels.
    virtual void Layout(int w, int h) = 0;

protected:
    enum class Grow { Widen, WidenAndGrowDown, MoveRight, WidenAndMoveDown };
    struct LayoutRule {
        int id;
        Grow grow;
    };
    // Applies one layout table: every page follows the same rule, only the controls differ.
    void ApplyLayout(std::initializer_list<LayoutRule> rules, int w, int h) const;

    CInstallApp& app_;
};

}  // namespace zu
