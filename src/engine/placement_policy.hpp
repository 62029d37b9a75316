// Whether a payload entry is written, kept or left out, and what surrounds its placement, as a
// plain rule of the entry's kind, the install state and two facts about its destination. The
// entry handlers (entry_placement.hpp) ask it and carry out the answer.
#pragma once

#include <cstdint>

#include "payload/notification.hpp"

namespace zu {

enum class JournalRecord {
    none,             // the journal hears nothing of the entry
    pending,          // BeginFile before the write, completed by end_entry or the error handler
    completedAtOnce,  // BeginFile then Complete(true) at once: a kept file the earlier log did not know
};

enum class UsersGrant {
    none,
    onExistingFile,     // at once, on what is there (or on the missing path)
    afterWrite,         // in end_entry, once the new file is closed and verified
};

enum class EntryRole { none, mainProgram, uninstaller, temporaryFile };

struct PlacementDecision {
    notification::result answer = notification::result::proceed;  // proceed or skip, never abort
    JournalRecord journal = JournalRecord::none;
    bool backupByCopy = false;  // how BeginFile saves an existing file: copy (shared data) or move
    UsersGrant grant = UsersGrant::none;
    EntryRole role = EntryRole::none;

    bool operator==(const PlacementDecision& o) const {
        return answer == o.answer && journal == o.journal && backupByCopy == o.backupByCopy && grant == o.grant &&
               role == o.role;
    }
};

// kind is the entry's raw payload kind; a kind the policy does not know is placed and journaled
// like a standard file. wasInstalledBefore: the earlier installation's log lists the
// destination as a placed file; filePresent: something exists at the destination. Both only
// matter for shared data, so a caller may pass false for the other kinds.
PlacementDecision DecidePlacement(std::uint32_t kind, int installState, bool wasInstalledBefore, bool filePresent);

// Whether DecidePlacement looks at the two destination facts for this kind (the handler only
// asks the journal and the file system when it does).
bool PlacementNeedsDestinationFacts(std::uint32_t kind);

}  // namespace zu
