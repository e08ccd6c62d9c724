// The fast tile searches must choose exactly the tiles the plain scans of the whole map choose.
#include <gtest/gtest.h>

#include <string>

#include "RandomBattlefield.h"
#include "ai/Entity.h"
#include "base/GameRandom.h"
#include "plain/PlainTileSearch.h"
#include "world/World.h"

namespace {

constexpr int kBattlefields = 1500;

// Everything a search may leave in the soldier: its goal, rally point, state and route.
void expectSameOutcome(const Entity& fast, const Entity& plain, const std::string& where) {
    EXPECT_EQ(fast.goalX, plain.goalX) << where;
    EXPECT_EQ(fast.goalY, plain.goalY) << where;
    EXPECT_EQ(fast.rallyX, plain.rallyX) << where;
    EXPECT_EQ(fast.rallyY, plain.rallyY) << where;
    EXPECT_EQ(fast.state, plain.state) << where;
    EXPECT_EQ(fast.action, plain.action) << where;
    ASSERT_EQ(fast.path == nullptr, plain.path == nullptr) << where;
    if (fast.path != nullptr) {
        ASSERT_EQ(fast.path->waypoints.size(), plain.path->waypoints.size()) << where;
        for (std::size_t i = 0; i < fast.path->waypoints.size(); ++i) {
            EXPECT_EQ(fast.path->waypoints[i].x, plain.path->waypoints[i].x) << where;
            EXPECT_EQ(fast.path->waypoints[i].y, plain.path->waypoints[i].y) << where;
        }
    }
}

std::size_t anyone(Dice& dice, const World& world) {
    return static_cast<std::size_t>(dice.below(static_cast<int>(world.entities.size())));
}

// Now and then the searching soldier stands off the grid or between tiles.
void maybeDisplace(Dice& dice, Entity& fast, Entity& plain) {
    const int roll = dice.below(20);
    const double dx = roll == 0 ? -3.0 : roll == 1 ? 0.5 : roll == 2 ? 60.0 : 0.0;
    fast.x += dx;
    plain.x += dx;
}

}  // namespace

TEST(TileSearchIdentity, hidingTileIsTheNearestTheThreatCannotSeeFirstInColumnOrder) {
    Dice dice(5150u);
    int found = 0;
    for (uint32_t seed = 0; seed < kBattlefields; ++seed) {
        auto fast = drawBattlefield(seed);
        auto plain = drawBattlefield(seed);
        const std::size_t who = anyone(dice, *fast);
        const std::size_t threat = anyone(dice, *fast);
        maybeDisplace(dice, *fast->entities[who], *plain->entities[who]);
        fast->entities[who]->findHidingTile(*fast->entities[threat]);
        plainFindHidingTile(*plain->entities[who], *plain->entities[threat]);
        expectSameOutcome(*fast->entities[who], *plain->entities[who],
                          "battlefield " + std::to_string(seed));
        if (HasFailure()) {
            return;
        }
        found += fast->entities[who]->goalX != -1.0;
    }
    // Most searches must find a place, some must not.
    EXPECT_GT(found, kBattlefields / 2);
    EXPECT_LT(found, kBattlefields);
}

TEST(TileSearchIdentity, firingPositionAndFrontierTileAreChosenAsByThePlainScans) {
    Dice dice(6160u);
    for (uint32_t seed = 0; seed < kBattlefields; ++seed) {
        auto fast = drawBattlefield(seed);
        auto plain = drawBattlefield(seed);
        const std::size_t who = anyone(dice, *fast);
        const std::size_t target = anyone(dice, *fast);
        fast->entities[who]->target = fast->entities[target];
        plain->entities[who]->target = plain->entities[target];
        fast->entities[who]->findFiringPosition();
        plainFindFiringPosition(*plain->entities[who]);
        const unsigned draw = static_cast<unsigned>(dice.below(1 << 20));
        seedGameRand(draw);
        fast->entities[who]->pickFrontierTile();
        seedGameRand(draw);
        plainPickFrontierTile(*plain->entities[who]);
        expectSameOutcome(*fast->entities[who], *plain->entities[who],
                          "battlefield " + std::to_string(seed));
        if (HasFailure()) {
            return;
        }
    }
}
