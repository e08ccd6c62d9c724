#include <gtest/gtest.h>

#include <vector>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "gfx/ResourceCatalogue.h"
#include "support/TestWorld.h"
#include "world/World.h"

namespace {

class BehaviourTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The catalogue seeds gameRand() with the time when first created; reseed after it.
        ResourceCatalogue::instance();
        seedGameRand(1);
        setSimulatedClock(1000);
    }
};

// `blue` aims at `red`, which is hurt badly enough to flee from it.
void threaten(Entity& blue, Entity& red) {
    blue.target = &red;
    red.health = 20;
}

TEST_F(BehaviourTest, commandedTeamWaitsWhileAnAutonomousIdleSoldierWithNoEnemyInSightExplores) {
    auto world = autonomousWorld({"r....b"});
    Entity& red = *world->entities[0];
    world->commandedTeams = teamBit(Team::Red);
    red.decide();
    EXPECT_EQ(red.state, EntityState::Idle);
    EXPECT_EQ(red.action, EntityAction::Continue);
    EXPECT_EQ(red.target, nullptr);

    auto farWorld = autonomousWorld({"r.................b"});  // beyond the sight of all red
    Entity& lone = *farWorld->entities[0];
    farWorld->commandedTeams = teamBit(Team::Blue);
    lone.decide();
    EXPECT_EQ(lone.state, EntityState::Explore);
    // Nothing discovered yet, so no frontier: it stays and retries.
    lone.decide();
    EXPECT_EQ(lone.state, EntityState::Explore);
    farWorld->computeFog(Team::Red);
    lone.decide();
    EXPECT_EQ(lone.state, EntityState::Move);
    EXPECT_NE(lone.path, nullptr);
}

// The view is only what the player looks at; the World says who waits.
TEST_F(BehaviourTest, waitingFollowsTheWorldsCommandedTeamsNotTheViewMode) {
    auto world = autonomousWorld({"r.................b"});
    Entity& red = *world->entities[0];
    ResourceCatalogue::instance()->viewMode = ViewMode::Red;
    red.decide();
    EXPECT_EQ(red.state, EntityState::Explore);
    red.state = EntityState::Idle;
    ResourceCatalogue::instance()->viewMode = ViewMode::All;
    world->commandedTeams = teamBit(Team::Red);
    red.decide();
    EXPECT_EQ(red.state, EntityState::Idle);
    ResourceCatalogue::instance()->viewMode = ViewMode::Red;
}

TEST_F(BehaviourTest, advanceWithoutTargetScansAtEverySeventhDecision) {
    auto world = autonomousWorld({"r..........................."});
    Entity& red = *world->entities[0];
    red.requestPath(27, 0);
    red.state = EntityState::Advance;
    std::vector<int> scans;
    for (int decision = 1; decision <= 21; ++decision) {
        red.decide();
        if (red.action == EntityAction::Scan) {
            scans.push_back(decision);
        }
    }
    EXPECT_EQ(scans, (std::vector<int>{7, 14, 21}));
}

TEST_F(BehaviourTest, pursuerAttacksOnlyWhenTheEnemyIsCloserThanTheRangeAndInSight) {
    auto world = autonomousWorld({"r..........b.", ".............", "r.o.b........"});
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[1];
    red.target = &blue;
    red.state = EntityState::Pursue;
    red.decide();
    EXPECT_EQ(red.action, EntityAction::Attack);  // 11 tiles
    blue.x = 12.0;
    red.decide();
    EXPECT_EQ(red.action, EntityAction::Walk);  // exactly the rifle's 12

    Entity& blocked = *world->entities[2];
    blocked.target = world->entities[3];
    blocked.state = EntityState::Pursue;
    blocked.decide();
    EXPECT_EQ(blocked.action, EntityAction::Walk);
}

TEST_F(BehaviourTest, commandedTeamDoesNotFleeButTheSameSoldierDoesWhenNoneIsCommanded) {
    auto world = autonomousWorld({"....", ".r.b", "...."});
    Entity& red = *world->entities[0];
    threaten(*world->entities[1], red);
    red.health = 10;
    world->commandedTeams = teamBit(Team::Red);
    red.decide();
    EXPECT_EQ(red.state, EntityState::Idle);

    world->commandedTeams = kNoTeams;
    red.decide();
    EXPECT_EQ(red.state, EntityState::Move);
    EXPECT_NE(red.goalX, -1.0);
}

TEST_F(BehaviourTest, fleeCallsTheWholeTeamOntoTheThreatDeadTeammatesIncluded) {
    auto world = autonomousWorld({"r.....", "...r.b", "r....."});
    Entity& fleeing = *world->entities[1];
    Entity& blue = *world->entities[2];
    Entity& deadMate = *world->entities[3];
    deadMate.kill();
    threaten(blue, fleeing);

    fleeing.decide();

    for (const Entity* mate : {world->entities[0], &deadMate}) {
        EXPECT_EQ(mate->target, &blue);
        EXPECT_EQ(mate->state, EntityState::Pursue);
    }
    EXPECT_EQ(deadMate.health, 0);
    EXPECT_EQ(fleeing.state, EntityState::Move);
}

// On open ground the threat sees every tile, so there is nowhere to hide: the soldier runs.
TEST_F(BehaviourTest, fleeRunsAlongTheRayAwayFromTheThreatOrFromTheEdgeToTheFarSide) {
    auto world = autonomousWorld({"........", "..b.r...", "r......r", "........", "........"});
    Entity& blue = *world->entities[0];
    Entity& middle = *world->entities[1];
    threaten(blue, middle);
    middle.decide();
    EXPECT_EQ(middle.goalX, 6.0);  // steps of (2, 0) from (4, 1)
    EXPECT_EQ(middle.goalY, 1.0);

    // From the left edge, away means off the map: the far column instead (dy >= dx).
    Entity& left = *world->entities[2];
    blue.x = 1.0;
    blue.y = 2.0;
    threaten(blue, left);
    left.decide();
    EXPECT_EQ(left.goalX, 7.0);
    EXPECT_EQ(left.goalY, 2.0);

    // From the right edge (dy < dx): along y, to the last row, as it is not below row 2.
    Entity& right = *world->entities[3];
    blue.x = 6.0;
    threaten(blue, right);
    right.decide();
    EXPECT_EQ(right.goalX, 7.0);
    EXPECT_EQ(right.goalY, 4.0);
}

TEST_F(BehaviourTest, fleeFromAThreatOnTheOwnTileEndsAndHeadsForAnEdge) {
    auto world = autonomousWorld({"........", "..r.....", "........", "....b..."});
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[1];
    blue.x = red.x;
    blue.y = red.y;
    threaten(blue, red);

    red.decide();

    EXPECT_EQ(red.state, EntityState::Move);
    EXPECT_EQ(red.goalX, 7.0);
    EXPECT_EQ(red.goalY, 1.0);
}

TEST_F(BehaviourTest, repositionWalksUntilItArrivesThenFights) {
    auto world = autonomousWorld({"r..b"});
    Entity& red = *world->entities[0];
    red.state = EntityState::Reposition;
    red.rallyX = 1.0;
    red.rallyY = 0.0;
    red.decide();
    EXPECT_EQ(red.action, EntityAction::Walk);
    red.x = 1.0;
    red.decide();
    EXPECT_EQ(red.state, EntityState::Fight);
    EXPECT_EQ(red.action, EntityAction::Attack);
}

TEST_F(BehaviourTest, updateSkipsTheDeadAndFillsAHaltedSoldiersProgressToExactlyOne) {
    auto world = autonomousWorld({"r..r"});
    Entity& dead = *world->entities[1];
    dead.kill();
    Entity& red = *world->entities[0];
    red.moveProgress = 0.95;
    setSimulatedClock(5000);

    red.update();
    dead.update();

    EXPECT_EQ(red.moveProgress, 1.0);
    EXPECT_EQ(red.lastUpdateTime, 5000);
    EXPECT_EQ(dead.lastUpdateTime, 1000);
    EXPECT_EQ(dead.sinceUpdate, 0);
}

}  // namespace
