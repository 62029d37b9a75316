#include "engine/entry_placement.hpp"

#include "engine/path_quoting.hpp"
#include "engine/placement_policy.hpp"
#include "i18n/messages.hpp"
#include "system/journal_platform.hpp"
#include "system/privileges.hpp"

namespace zu {
namespace {

constexpr unsigned kCopyingFileMessage = MessageId(115);
constexpr unsigned kOkMessage = MessageId(11);

// The grant never stops the installation: a file that cannot be opened to users stays usable
// by administrators, which is what the product needs to run at all.
void GrantUsers(const std::wstring& path) { static_cast<void>(GrantUsersAccess(path.c_str(), kUsersModifyAccess)); }

}  // namespace

std::wstring CopyingFileMessage(const std::wstring& destination) {
    return FormatMessageText(kCopyingFileMessage, {QuoteSpaces(destination)});
}

EntryPlacement::EntryPlacement(InstallView& view, CUninstallLog& log, const InstallContext& context,
                               TemporaryFileList& temporaryFiles, std::wstring& mainProgramPath,
                               std::wstring& uninstallerPath)
    : view_(view),
      log_(log),
      context_(context),
      temporaryFiles_(temporaryFiles),
      mainProgramPath_(mainProgramPath),
      uninstallerPath_(uninstallerPath) {}

notification::result EntryPlacement::OnBeginEntry(const payload_entry& entry) {
    const std::wstring& destination = entry.destination;
    bool wasInstalledBefore = false;
    bool filePresent = false;
    if (PlacementNeedsDestinationFacts(entry.kind)) {
        wasInstalledBefore = log_.WasInstalledBefore(destination);
        filePresent = journal_platform::exists(destination);
    }
    const PlacementDecision decision =
        DecidePlacement(entry.kind, context_.installState, wasInstalledBefore, filePresent);

    if (decision.journal == JournalRecord::completedAtOnce) {
        log_.BeginFile(destination, static_cast<std::int32_t>(entry.kind), decision.backupByCopy);
        log_.Complete(true);
    }
    if (decision.grant == UsersGrant::onExistingFile) GrantUsers(destination);
    if (decision.answer == notification::result::skip) return decision.answer;

    switch (decision.role) {
    case EntryRole::mainProgram: mainProgramPath_ = destination; break;
    case EntryRole::uninstaller: uninstallerPath_ = destination; break;
    case EntryRole::temporaryFile: temporaryFiles_.Add(destination); break;
    case EntryRole::none: break;
    }

    const std::wstring message = CopyingFileMessage(destination);
    if (decision.journal == JournalRecord::pending)
        log_.BeginFile(destination, static_cast<std::int32_t>(entry.kind), decision.backupByCopy);
    view_.SetProgressPathText(message);
    view_.AppendLog(message, false);
    return notification::result::proceed;
}

notification::result EntryPlacement::OnEndEntry(const payload_entry& entry) {
    const PlacementDecision decision = DecidePlacement(entry.kind, context_.installState, false, false);
    if (decision.grant == UsersGrant::afterWrite) GrantUsers(entry.destination);
    if (decision.journal != JournalRecord::none) log_.Complete(true);
    view_.AppendLog(LoadMessage(kOkMessage) + L"\r\n", false);
    return notification::result::proceed;
}

}  // namespace zu
