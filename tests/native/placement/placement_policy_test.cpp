// The placement rule over every kind and install state, with the two facts about the
// destination that shared data depends on.
#include <gtest/gtest.h>

#include "app/install_context.hpp"
#include "engine/placement_policy.hpp"

using namespace zu;
using result = notification::result;

namespace {

struct Row {
    std::uint32_t kind;
    int state;
    bool wasInstalledBefore;
    bool filePresent;
    PlacementDecision expected;
};

constexpr auto proceed = result::proceed;
constexpr auto skip = result::skip;
constexpr auto none = JournalRecord::none;
constexpr auto pending = JournalRecord::pending;
constexpr auto atOnce = JournalRecord::completedAtOnce;

PlacementDecision D(result answer, JournalRecord journal, bool byCopy, UsersGrant grant = UsersGrant::none,
                    EntryRole role = EntryRole::none) {
    return {answer, journal, byCopy, grant, role};
}

std::string Describe(const Row& r) {
    return "kind " + std::to_string(r.kind) + ", state " + std::to_string(r.state) +
           (r.wasInstalledBefore ? ", in the earlier log" : "") + (r.filePresent ? ", present" : "");
}

}  // namespace

TEST(PlacementPolicy, EveryKindInEveryState) {
    std::vector<Row> rows;
    const int states[] = {NotInstalled, SameVersion, OlderInstalled};
    for (int state : states) {
        for (bool before : {false, true}) {
            for (bool present : {false, true}) {
                // Kinds whose answer does not depend on the destination or the earlier log.
                rows.push_back({0, state, before, present, D(proceed, pending, false)});
                rows.push_back({1, state, before, present, D(proceed, pending, false, UsersGrant::none, EntryRole::mainProgram)});
                rows.push_back({2, state, before, present, D(proceed, pending, false, UsersGrant::none, EntryRole::uninstaller)});
                rows.push_back({4, state, before, present,
                                state == OlderInstalled ? D(skip, none, false) : D(proceed, pending, false)});
                rows.push_back({5, state, before, present, D(proceed, none, false, UsersGrant::none, EntryRole::temporaryFile)});
                // An unknown kind is placed like a standard file rather than lost.
                rows.push_back({9, state, before, present, D(proceed, pending, false)});
            }
        }
    }
    // Shared data, all four combinations in each state.
    const auto placed = D(proceed, pending, true, UsersGrant::afterWrite);
    const auto keptAndRecorded = D(skip, atOnce, true, UsersGrant::onExistingFile);
    const auto keptAsEarlier = D(skip, none, true, UsersGrant::onExistingFile);
    rows.push_back({3, NotInstalled, false, false, placed});
    rows.push_back({3, NotInstalled, false, true, keptAndRecorded});
    // A fresh installation does not trust a log left by some earlier installation.
    rows.push_back({3, NotInstalled, true, false, placed});
    rows.push_back({3, NotInstalled, true, true, keptAndRecorded});
    for (int state : {SameVersion, OlderInstalled}) {
        rows.push_back({3, state, false, false, placed});
        rows.push_back({3, state, false, true, keptAndRecorded});
        // Deleted since the earlier installation: not brought back.
        rows.push_back({3, state, true, false, keptAsEarlier});
        rows.push_back({3, state, true, true, keptAsEarlier});
    }

    for (const Row& r : rows) {
        const PlacementDecision got = DecidePlacement(r.kind, r.state, r.wasInstalledBefore, r.filePresent);
        EXPECT_EQ(got, r.expected) << Describe(r);
        EXPECT_NE(got.answer, result::abort) << Describe(r);
    }
}

TEST(PlacementPolicy, OnlySharedDataNeedsTheDestinationFacts) {
    for (std::uint32_t kind = 0; kind < 8; ++kind) EXPECT_EQ(PlacementNeedsDestinationFacts(kind), kind == 3) << kind;
}
