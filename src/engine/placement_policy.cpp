#include "engine/placement_policy.hpp"

#include "app/install_context.hpp"
#include "payload/payload_entry.hpp"

namespace zu {

PlacementDecision DecidePlacement(std::uint32_t kind, int installState, bool wasInstalledBefore, bool filePresent) {
    using result = notification::result;
    PlacementDecision d;
    switch (static_cast<payload_kind>(kind)) {
    case payload_kind::main_program:
        d.journal = JournalRecord::pending;
        d.role = EntryRole::mainProgram;
        return d;
    case payload_kind::uninstaller:
        d.journal = JournalRecord::pending;
        d.role = EntryRole::uninstaller;
        return d;
    case payload_kind::shared_data:
        // Users' data is never overwritten: a file the earlier installation placed stays even
        // when it was deleted since (the user removed it on purpose), and one that is there
        // without the log knowing it is kept too but recorded, so the uninstaller takes it along.
        d.backupByCopy = true;
        if (installState != NotInstalled && wasInstalledBefore) {
            d.answer = result::skip;
            d.grant = UsersGrant::onExistingFile;
        } else if (filePresent) {
            d.answer = result::skip;
            d.journal = JournalRecord::completedAtOnce;
            d.grant = UsersGrant::onExistingFile;
        } else {
            d.journal = JournalRecord::pending;
            d.grant = UsersGrant::afterWrite;
        }
        return d;
    case payload_kind::sample_data:
        if (installState == OlderInstalled) {
            d.answer = result::skip;
            return d;
        }
        d.journal = JournalRecord::pending;
        return d;
    case payload_kind::temporary_file:
        d.role = EntryRole::temporaryFile;
        return d;
    case payload_kind::standard_file:
    default:
        d.journal = JournalRecord::pending;
        return d;
    }
}

bool PlacementNeedsDestinationFacts(std::uint32_t kind) {
    return static_cast<payload_kind>(kind) == payload_kind::shared_data;
}

}  // namespace zu
