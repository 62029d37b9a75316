// The install page's answers to the payload reader's begin_entry and end_entry notifications:
// the placement policy applied, the journal told, shared data opened to users, the two
// executables' paths noted, temporary files collected, and each placed file shown on the page.
//
// The object only refers to what it is given; all of it must outlive it. It is made by the
// install sequence for one extraction. Everything runs on the sequence's thread.
#pragma once

#include <string>

#include "app/install_context.hpp"
#include "engine/install_view.hpp"
#include "engine/temporary_files.hpp"
#include "payload/notification.hpp"
#include "system/uninstall_log.hpp"

namespace zu {

class EntryPlacement {
public:
    // mainProgramPath and uninstallerPath are overwritten by the entries of those kinds and left
    // alone otherwise (the sequence empties them before the extraction).
    EntryPlacement(InstallView& view, CUninstallLog& log, const InstallContext& context, TemporaryFileList& temporaryFiles,
                   std::wstring& mainProgramPath, std::wstring& uninstallerPath);

    // proceed (write the entry) or skip (nothing is shown for it); never abort. A written
    // entry leaves its "Copying File" line open in the progress log.
    notification::result OnBeginEntry(const payload_entry& entry);
    // After the entry was closed and verified: settles its journal record and ends its line
    // with "OK". Always proceed.
    notification::result OnEndEntry(const payload_entry& entry);

private:
    InstallView& view_;
    CUninstallLog& log_;
    const InstallContext& context_;
    TemporaryFileList& temporaryFiles_;
    std::wstring& mainProgramPath_;
    std::wstring& uninstallerPath_;
};

// The file message of a destination: message 115 with the path quoted as the shell does.
std::wstring CopyingFileMessage(const std::wstring& destination);

}  // namespace zu
