#include "engine/shortcut_step.hpp"

#include "i18n/messages.hpp"
#include "support/product_identity.hpp"
#include "system/shortcut_link.hpp"

namespace zu {
namespace {

constexpr int kMenuLink = 0;
constexpr int kUninstallerLink = 1;
constexpr int kDesktopLink = 2;

bool MakeLink(CUninstallLog& log, int which, const std::wstring& target, const std::wstring& folder,
              const std::wstring& name) {
    log.BeginShortcut(which, folder);
    const ShortcutResult made = CreateShortcut(target, folder, name);
    if (made.ok)
        log.Complete(true, made.linkPath);
    else
        log.Complete(false);
    return made.ok;
}

}  // namespace

std::wstring ProductLinkName() { return ProductIdentity::fullName; }

std::wstring UninstallerLinkName() { return FormatMessageText(MessageId(13), {ProductIdentity::productName}); }

std::wstring DesktopFolder(const special_folders& folders) {
    std::wstring folder = folders.find(csidl::common_desktop_directory);
    if (folder.empty()) folder = folders.find(csidl::desktop_directory);
    return folder;
}

bool RunShortcutStep(InstallView& view, CUninstallLog& log, const InstallContext& context,
                     const std::wstring& mainProgramPath, const std::wstring& uninstallerPath,
                     const special_folders& folders) {
    if (!context.menuShortcut && !context.desktopShortcut) return true;
    const std::wstring title = LoadMessage(MessageId(117));
    view.SetProgressText(title);
    view.AppendLog(title, false);

    bool stepOk = true;
    if (context.menuShortcut) {
        stepOk = MakeLink(log, kMenuLink, mainProgramPath, context.shortcutFolder, ProductLinkName()) && stepOk;
        stepOk = MakeLink(log, kUninstallerLink, uninstallerPath, context.shortcutFolder, UninstallerLinkName()) && stepOk;
    }
    if (context.desktopShortcut) {
        const std::wstring desktop = DesktopFolder(folders);
        // Without any desktop the link would land in whatever the current folder is.
        if (desktop.empty())
            stepOk = false;
        else
            stepOk = MakeLink(log, kDesktopLink, mainProgramPath, desktop, ProductLinkName()) && stepOk;
    }
    view.AppendLog(LoadMessage(MessageId(stepOk ? 11 : 12)) + L"\r\n", false);
    return stepOk;
}

}  // namespace zu
