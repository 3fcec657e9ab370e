#include "bot/explorer.h"

#include <gtest/gtest.h>

#include <string>

namespace kestran::bot {
namespace {

// Follows the explorer's keys as the game would, up to `limit` keys; the keys taken.
int Follow(Explorer& e, Goal goal, int limit) {
    for (int keys = 0; keys < limit; ++keys) {
        const std::string key = e.NextKey(goal);
        if (key.empty()) return keys;
        if (key == "{Up}") e.StepForward();
        if (key == "{Left}") e.Turn(-1);
        if (key == "{Right}") e.Turn(1);
        if (key == "{Down}") e.Turn(2);
    }
    return limit;
}

TEST(BotExplorer, FindsTheElevatorAndTheMastersCell) {
    Explorer e;
    e.Enter();
    EXPECT_LT(Follow(e, Goal::Elevator, 200), 200);
    EXPECT_EQ(e.EventHere(), 'E');
    e.Set(Position{6, 10, 0, 4});
    EXPECT_LT(Follow(e, Goal::Master, 400), 400);
    EXPECT_EQ(e.EventHere(), 'K');
    EXPECT_EQ(e.position().x, 1);
    EXPECT_EQ(e.position().y, 17);
}

TEST(BotExplorer, ElevatorOutOfReachGivesNoKey) {
    Explorer e;
    e.Set(Position{2, 19, 5, 1});  // floor 2 from its up staircase: the elevator lies elsewhere
    EXPECT_EQ(e.NextKey(Goal::Elevator), "");
    EXPECT_NE(e.NextKey(Goal::GoDown), "");
}

TEST(BotExplorer, ExploringNearTheStairsStopsAtTheReach) {
    Explorer e;
    e.Enter();
    int keys = 0;
    for (; keys < 2000; ++keys) {
        const std::string key = e.ExploreNear(3);
        if (key.empty()) break;
        if (key == "{Up}") e.StepForward();
        if (key == "{Left}") e.Turn(-1);
        if (key == "{Right}") e.Turn(1);
        if (key == "{Down}") e.Turn(2);
        // Never more than three steps away from the entrance (1,0), counted along the row.
        EXPECT_LE(e.position().x + e.position().y, 1 + 3) << "after " << keys << " keys";
    }
    EXPECT_LT(keys, 2000);
    EXPECT_LE(e.ExploredShare() * 400, 12);
}

TEST(BotExplorer, WanderingStepsOnlyTowardEncounterCells) {
    Explorer e;
    e.Enter();  // the entrance, facing east: open to the east and the south, both encounter cells
    EXPECT_EQ(e.WanderKey(0), "{Up}");
    EXPECT_EQ(e.WanderKey(1), "{Right}");
    EXPECT_EQ(e.WanderKey(2), "{Up}");  // the pick wraps round
}

}  // namespace
}  // namespace kestran::bot
