// Where the users' entry goes when a file is opened to BUILTIN\Users, as plain rules that a
// test can run on made-up access lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zu {

// What the rule needs to know of one entry of the file's old access list.
struct AceSummary {
    bool inherited = false;  // INHERITED_ACE (0x10) in the entry's flags
    bool forUsers = false;   // the entry's SID is BUILTIN\Users
};

// Stands for the new users' entry in users_grant_order's answer.
constexpr std::ptrdiff_t kNewUsersEntry = -1;

// The new list as indices into oldEntries, in order, with kNewUsersEntry where the users'
// entry goes: the explicit entries before the first inherited one, the users' entry, then
// every entry from the first inherited one on. Old entries for users are left out, so that
// granting again replaces the entry instead of adding one.
std::vector<std::ptrdiff_t> users_grant_order(const std::vector<AceSummary>& oldEntries);

// The control bits the new descriptor takes over from the old one's control word: 0x0500
// (SE_DACL_AUTO_INHERIT_REQ | SE_DACL_AUTO_INHERITED) when the old list was auto-inherited,
// else 0x1000 (SE_DACL_PROTECTED) when it was protected, else 0 (nothing to set).
std::uint16_t users_grant_control_bits(std::uint16_t oldControl);

}  // namespace zu
