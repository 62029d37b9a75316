// The application's record of what the installer found out and what the user chose.
#pragma once

#include <string>

namespace zu {

enum InstallState : int {
    NotInstalled = 0,
    SameVersion = 1,     // same version installed, or the record gives no executable
    OlderInstalled = 2,  // update
    NewerInstalled = -1, // nothing can be installed
};

struct InstallContext {
    std::wstring appTitle;
    int installState = NotInstalled;
    std::wstring installedVersion;  // only in states -1 and 2
    std::wstring installFolder;     // the value of "<InstallPath>"
    std::wstring shortcutFolder;    // Start-menu folder of the shortcuts
    std::wstring tempFolder;        // temporary folder of this run
    bool menuShortcut = true;
    bool desktopShortcut = true;
    bool advancedMode = false;
    bool installDone = false;
};

}  // namespace zu
