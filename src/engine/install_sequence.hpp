// The install sequence: the whole installation, run on the user-interface thread by the
// Install page's Next. It reports through view and reads and writes app's install context;
// true when the payload is in place (later steps only mark their log lines "Failed").
#pragma once

#include "engine/install_view.hpp"

namespace zu {
class CInstallApp;
}

bool RunInstallation(zu::InstallView& view, zu::CInstallApp& app);
