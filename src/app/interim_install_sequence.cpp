// Stands in for the install sequence until it joins the engine, so that the installer links
// and its wizard can be driven: it says so in the log and reports that nothing was installed.
#include "engine/install_sequence.hpp"

bool RunInstallation(zu::InstallView& view, zu::CInstallApp&) {
    view.AppendLog(L"The install sequence is not part of this build.\r\n", false);
    return false;
}
