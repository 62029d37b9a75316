// Small rules of the install sequence and of the start-up's detection, as plain functions.
#pragma once

#include <cstdint>

namespace zu {

// The install state for an installed file version (0 when the record gives no executable):
// 1 for 0 or the same version, -1 for a newer one, 2 for an older one.
int install_state_for(std::uint64_t ownVersion, std::uint64_t installedVersion);

// The progress bar's percentage: rounded, but 100 only once everything is done.
int progress_percent(std::uint64_t position, std::uint64_t total);

}  // namespace zu
