// The About box: the installer's name, version and copyright from its own version resource,
// and the maker's contact lines of the template.
#pragma once

#include "ui/dialog.hpp"

namespace zu {

class CAboutDlg : public ui::Dialog {
public:
    CAboutDlg();

protected:
    bool OnInitDialog() override;
};

}  // namespace zu
