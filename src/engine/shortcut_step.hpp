// The shortcut step of the install sequence: the Start-menu links to the product and to its
// uninstaller, and the desktop link, as the install context chooses them. Each link is
// announced to the journal (which makes the missing folders and moves the earlier
// installation's link aside) and settled with the written link's path, or as not done.
#pragma once

#include <string>

#include "app/install_context.hpp"
#include "engine/install_view.hpp"
#include "payload/special_folders.hpp"
#include "system/uninstall_log.hpp"

namespace zu {

// Does nothing at all, and answers true, when neither menuShortcut nor desktopShortcut is set.
// Otherwise shows "Shortcuts Creation..." as progress text and in the log, makes the links and
// ends the log line with "OK", or "Failed" when any link could not be made. The desktop is the
// all-users desktop, else the user's, as folders knows them. Answers whether every link was
// made; a failure stops nothing.
bool RunShortcutStep(InstallView& view, CUninstallLog& log, const InstallContext& context,
                     const std::wstring& mainProgramPath, const std::wstring& uninstallerPath,
                     const special_folders& folders = special_folders());

// The all-users desktop, else the user's desktop; empty when there is neither.
std::wstring DesktopFolder(const special_folders& folders);

// The links' names: the product's full name, and message 13 for the uninstaller.
std::wstring ProductLinkName();
std::wstring UninstallerLinkName();

}  // namespace zu
