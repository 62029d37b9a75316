// The language stored by an earlier installation (the uninstall key's ZuLanguage value).
#pragma once

#include <optional>

namespace zu {

// The stored 4-byte number, or nullopt when the value is missing, unreadable, or not a
// REG_DWORD of exactly four bytes.
std::optional<long long> read_stored_language();

}  // namespace zu

// Sets the current language at start-up: the detected system language, replaced by the
// stored one when it is offered, then English when the installer is not translated into it.
void ChooseStartupLanguage();
