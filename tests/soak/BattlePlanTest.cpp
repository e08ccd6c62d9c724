#include "BattlePlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "ai/Entity.h"
#include "world/World.h"

namespace {

int count(const std::string& text, char c) {
    return static_cast<int>(std::count(text.begin(), text.end(), c));
}

}  // namespace

TEST(BattlePlan, plansCoverTheRangesAndEveryViewMode) {
    std::set<int> views;
    int smallest = 1000;
    int largest = 0;
    for (int index = 0; index < 300; ++index) {
        const BattlePlan plan = planBattle(3, index, 100, {});
        EXPECT_EQ(plan.steps, 100);
        EXPECT_GE(plan.soldiers, 2);
        EXPECT_LE(plan.soldiers, 60);
        smallest = std::min({smallest, plan.width, plan.height});
        largest = std::max({largest, plan.width, plan.height});
        views.insert(plan.view);
    }
    EXPECT_EQ(smallest, 5);
    EXPECT_GE(largest, 120);
    EXPECT_LE(largest, 128);
    EXPECT_EQ(views, (std::set<int>{0, 1, 2}));
    const PlanLimits small{.maxSide = 20, .maxSoldiers = 4};
    EXPECT_LE(planBattle(3, 0, 100, small).width, 20);
    EXPECT_LE(planBattle(3, 0, 100, small).soldiers, 4);
}

TEST(BattlePlan, mapLoadsAtThePlannedSizeWithBothTeamsOnOpenFloor) {
    for (int index = 0; index < 40; ++index) {
        const BattlePlan plan = planBattle(11, index, 0, {.maxSide = 40});
        const std::string text = mapText(plan);
        World world;
        std::istringstream in(text);
        ASSERT_TRUE(world.loadMap(in, "plan")) << describe(plan);
        EXPECT_EQ(world.columns, plan.width);
        EXPECT_EQ(world.rows, plan.height);
        const int open = plan.width * plan.height - count(text, 'o');
        const int soldiers = std::min(plan.soldiers, open);
        ASSERT_EQ(static_cast<int>(world.entities.size()), soldiers) << describe(plan);
        EXPECT_EQ(count(text, 'r'), (soldiers + 1) / 2);
        EXPECT_EQ(count(text, 'b'), soldiers / 2);
    }
}

TEST(BattlePlan, crowdedSmallMapGetsOnlyAsManySoldiersAsOpenTiles) {
    const BattlePlan plan{.width = 5, .height = 5, .wallPercent = 30, .soldiers = 60};
    const std::string text = mapText(plan);
    EXPECT_EQ(count(text, 'r') + count(text, 'b') + count(text, 'o'), 25);
    EXPECT_EQ(count(text, '.'), 0);
}

TEST(BattlePlan, samePlanAlwaysGivesTheSameMap) {
    const BattlePlan plan = planBattle(5, 17, 10, {});
    EXPECT_EQ(mapText(plan), mapText(planBattle(5, 17, 10, {})));
    EXPECT_NE(mapText(plan), mapText(planBattle(5, 18, 10, {})));
}
