#include "system/users_grant_rule.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Entries written as letters: lower case explicit, upper case inherited, 'u'/'U' for users.
std::vector<zu::AceSummary> entries(const std::string& letters) {
    std::vector<zu::AceSummary> result;
    for (char c : letters) result.push_back({c >= 'A' && c <= 'Z', c == 'u' || c == 'U'});
    return result;
}

// The new list in the same letters, '+' for the new users' entry.
std::string granted(const std::string& letters) {
    std::string result;
    for (std::ptrdiff_t index : zu::users_grant_order(entries(letters)))
        result += index == zu::kNewUsersEntry ? '+' : letters[static_cast<std::size_t>(index)];
    return result;
}

}  // namespace

TEST(UsersGrantRule, EntryOrder) {
    struct Case {
        const char* before;
        const char* after;
    } cases[] = {
        {"abuCD", "ab+CD"},  // the file of the installer's shared data
        {"", "+"},           // no list (or an empty one)
        {"ab", "ab+"},       // explicit entries only
        {"CD", "+CD"},       // inherited entries only
        {"u", "+"},          // an earlier grant is replaced
        {"uau", "a+"},       // every explicit users entry goes
        {"aUC", "a+C"},      // an inherited users entry goes too
        {"aCbD", "a+CbD"},   // explicit after inherited stays after it
        {"abCuD", "ab+CD"},  // users entry among the inherited ones
    };
    for (const Case& c : cases) EXPECT_EQ(granted(c.before), c.after) << c.before;
}

TEST(UsersGrantRule, GrantingTwiceGivesTheSameList) {
    for (const char* letters : {"abuCD", "", "aCbD", "uuu"}) {
        std::string once = granted(letters);
        std::string asOld = once;
        for (char& c : asOld)
            if (c == '+') c = 'u';
        EXPECT_EQ(granted(asOld), once) << letters;
    }
}

TEST(UsersGrantRule, ControlBitsTakenOver) {
    struct Case {
        std::uint16_t oldControl;
        std::uint16_t set;
    } cases[] = {
        {0x0000, 0x0000},
        {0x0004, 0x0000},  // SE_DACL_PRESENT alone
        {0x0400, 0x0500},  // auto-inherited: ask for inheritance again
        {0x0404, 0x0500},
        {0x1000, 0x1000},  // protected
        {0x1400, 0x0500},  // auto-inherited wins over protected
        {0x0100, 0x0000},  // a request alone is not taken over
        {0x8014, 0x0000},  // self-relative, SACL present, DACL present
    };
    for (const Case& c : cases) EXPECT_EQ(zu::users_grant_control_bits(c.oldControl), c.set) << std::hex << c.oldControl;
}
