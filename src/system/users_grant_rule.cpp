#include "system/users_grant_rule.hpp"

#include <algorithm>

namespace zu {

std::vector<std::ptrdiff_t> users_grant_order(const std::vector<AceSummary>& oldEntries) {
    const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(oldEntries.size());
    const std::ptrdiff_t firstInherited =
        std::find_if(oldEntries.begin(), oldEntries.end(), [](const AceSummary& e) { return e.inherited; }) -
        oldEntries.begin();

    std::vector<std::ptrdiff_t> order;
    order.reserve(oldEntries.size() + 1);
    auto copyRange = [&](std::ptrdiff_t from, std::ptrdiff_t to) {
        for (std::ptrdiff_t i = from; i < to; ++i) {
            if (!oldEntries[static_cast<std::size_t>(i)].forUsers) order.push_back(i);
        }
    };
    copyRange(0, firstInherited);
    order.push_back(kNewUsersEntry);
    copyRange(firstInherited, count);
    return order;
}

std::uint16_t users_grant_control_bits(std::uint16_t oldControl) {
    constexpr std::uint16_t autoInheritRequired = 0x0100;
    constexpr std::uint16_t autoInherited = 0x0400;
    constexpr std::uint16_t isProtected = 0x1000;
    if (oldControl & autoInherited) return autoInheritRequired | autoInherited;
    if (oldControl & isProtected) return isProtected;
    return 0;
}

}  // namespace zu
