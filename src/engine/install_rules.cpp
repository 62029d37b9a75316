#include "engine/install_rules.hpp"


namespace zu {

int install_state_for(std::uint64_t ownVersion, std::uint64_t installedVersion) {
    if (installedVersion == 0) return 1;
    if (ownVersion < installedVersion) return -1;
    if (ownVersion == installedVersion) return 1;
    return 2;
}

int progress_percent(std::uint64_t position, std::uint64_t total) {
    if (total == 0) return 100;
    int percent = static_cast<int>(static_cast<double>(position) / static_cast<double>(total) * 100.0 + 0.5);
    if (percent >= 100 && position < total) percent = 99;
    return percent;
}

}  // namespace zu
