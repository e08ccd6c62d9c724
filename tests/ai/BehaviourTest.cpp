#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "support/TestWorld.h"
#include "world/GameClock.h"
#include "world/World.h"

namespace {

class BehaviourTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The catalogue seeds rand() with the time when first created; reseed after it.
        ResourceCatalogue::instance()->viewMode = ViewMode::All;
        std::srand(1);
        setSimulatedClock(1000);
    }
    void TearDown() override { ResourceCatalogue::instance()->viewMode = ViewMode::Red; }

    static void setViewMode(int mode) { ResourceCatalogue::instance()->viewMode = mode; }

    static void discoverAll(World& world) {
        world.redKnownTiles.fill(TileKind::BaseTile);
        world.blueKnownTiles.fill(TileKind::BaseTile);
    }
};

// `hunter` chases `prey`, as an enemy in Pursue does.
void pursue(Entity& hunter, Entity& prey) {
    hunter.target = &prey;
    hunter.state = EntityState::Pursue;
}

TEST_F(BehaviourTest, viewedTeamWaitsWhenIdleEvenWithAnEnemyInSight) {
    auto world = makeWorld({"r....b"});
    Entity& red = *world->entities[0];
    setViewMode(ViewMode::Red);

    red.decide();

    EXPECT_EQ(red.state, EntityState::Idle);
    EXPECT_EQ(red.action, EntityAction::Continue);
    EXPECT_EQ(red.target, nullptr);
}

TEST_F(BehaviourTest, autonomousIdleSoldierFightsAnEnemyItSees) {
    auto world = makeWorld({"r....b"});
    Entity& red = *world->entities[0];

    red.decide();

    EXPECT_EQ(red.state, EntityState::Fight);
    EXPECT_EQ(red.action, EntityAction::Attack);
    EXPECT_EQ(red.target, world->entities[1]);
}

TEST_F(BehaviourTest, autonomousIdleSoldierWithNoEnemyInSightExploresAndRetriesUntilAGoalExists) {
    // The enemy is beyond the sight of the whole red team.
    auto world = makeWorld({"r............................b", ".............................."});
    Entity& red = *world->entities[0];

    red.decide();
    EXPECT_EQ(red.state, EntityState::Explore);
    EXPECT_EQ(red.target, nullptr);

    // Nothing discovered yet, so there is no frontier to walk to.
    red.decide();
    EXPECT_EQ(red.state, EntityState::Explore);
    EXPECT_EQ(red.action, EntityAction::Continue);
    EXPECT_EQ(red.goalX, -1.0);

    world->computeFog(Team::Red);
    red.decide();
    EXPECT_EQ(red.state, EntityState::Move);
    EXPECT_EQ(red.action, EntityAction::Walk);
    EXPECT_NE(red.goalX, -1.0);
    EXPECT_NE(red.path, nullptr);
}

TEST_F(BehaviourTest, exploreAndEngageAdvancesOnceAGoalIsSet) {
    auto world = makeWorld({"r.......", "........"});
    Entity& red = *world->entities[0];
    world->redKnownTiles[0][0] = TileKind::BaseTile;
    red.state = EntityState::ExploreAndEngage;

    red.decide();

    EXPECT_EQ(red.state, EntityState::Advance);
    EXPECT_EQ(red.action, EntityAction::Walk);
}

TEST_F(BehaviourTest, advanceWithoutTargetScansAtEverySeventhDecisionAndWalksOtherwise) {
    auto world = makeWorld({"r..........................."});
    Entity& red = *world->entities[0];
    red.requestPath(27, 0);
    red.state = EntityState::Advance;

    std::vector<int> scans;
    for (int decision = 1; decision <= 21; ++decision) {
        red.decide();
        if (red.action == EntityAction::Scan) {
            scans.push_back(decision);
        } else {
            EXPECT_EQ(red.action, EntityAction::Walk) << "decision " << decision;
        }
    }

    EXPECT_EQ(scans, (std::vector<int>{7, 14, 21}));
    EXPECT_EQ(red.state, EntityState::Advance);
}

TEST_F(BehaviourTest, advanceAttacksASpottedTargetAtExactlyItsRangeAndIdlesWhenItDies) {
    auto world = makeWorld({"r...........b"});
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[1];
    red.requestPath(11, 0);
    red.state = EntityState::Advance;
    red.target = &blue;
    red.halted = false;

    red.decide();
    EXPECT_EQ(red.action, EntityAction::Attack);
    EXPECT_TRUE(red.halted);

    blue.kill();
    red.decide();
    EXPECT_EQ(red.state, EntityState::Idle);
    EXPECT_EQ(red.action, EntityAction::Continue);
}

TEST_F(BehaviourTest, advanceWithNoPathLeftGoesIdle) {
    auto world = makeWorld({"r..."});
    Entity& red = *world->entities[0];
    red.state = EntityState::Advance;

    red.decide();

    EXPECT_EQ(red.state, EntityState::Idle);
    EXPECT_EQ(red.action, EntityAction::Continue);
}

TEST_F(BehaviourTest, pursuedEnemyIsAttackedOnlyWhenCloserThanTheRange) {
    auto world = makeWorld({"r..........b.", "............b"});
    Entity& red = *world->entities[0];
    Entity& nearBlue = *world->entities[1];  // 11 tiles away
    Entity& farBlue = *world->entities[2];   // more than 12 tiles away

    pursue(red, nearBlue);
    red.decide();
    EXPECT_EQ(red.action, EntityAction::Attack);
    EXPECT_TRUE(red.halted);
    EXPECT_EQ(red.goalX, 11.0);

    nearBlue.x = 12.0;  // exactly the rifle's range: not closer
    red.decide();
    EXPECT_EQ(red.action, EntityAction::Walk);
    EXPECT_EQ(red.goalX, 12.0);

    pursue(red, farBlue);
    red.decide();
    EXPECT_EQ(red.action, EntityAction::Walk);
}

TEST_F(BehaviourTest, pursuedEnemyOutOfSightIsWalkedToNotAttacked) {
    auto world = makeWorld({"r.o.b"});
    Entity& red = *world->entities[0];
    pursue(red, *world->entities[1]);

    red.decide();

    EXPECT_EQ(red.action, EntityAction::Walk);
    EXPECT_EQ(red.state, EntityState::Pursue);
}

TEST_F(BehaviourTest, pursuingATeammateWalksUntilWithinTwoTilesThenStopsIssuingWalk) {
    auto world = makeWorld({"r..r"});
    Entity& follower = *world->entities[0];
    Entity& leader = *world->entities[1];
    pursue(follower, leader);

    follower.decide();
    EXPECT_EQ(follower.action, EntityAction::Walk);

    follower.x = 2.0;
    follower.decide();
    EXPECT_EQ(follower.action, EntityAction::Continue);
    EXPECT_EQ(follower.state, EntityState::Pursue);
}

TEST_F(BehaviourTest, pursueWithoutTargetWalksOnAndWithDeadTargetGoesIdle) {
    auto world = makeWorld({"r..b"});
    Entity& red = *world->entities[0];
    red.state = EntityState::Pursue;

    red.decide();
    EXPECT_EQ(red.action, EntityAction::Walk);
    EXPECT_EQ(red.state, EntityState::Pursue);

    red.target = world->entities[1];
    red.target->kill();
    red.decide();
    EXPECT_EQ(red.state, EntityState::Idle);
    EXPECT_EQ(red.action, EntityAction::Continue);
}

TEST_F(BehaviourTest, moveForgetsTheTargetAndGoesIdleWithoutPath) {
    auto world = makeWorld({"r..b"});
    Entity& red = *world->entities[0];
    red.state = EntityState::Move;
    red.target = world->entities[1];
    red.requestPath(2, 0);

    red.decide();
    EXPECT_EQ(red.target, nullptr);
    EXPECT_EQ(red.action, EntityAction::Walk);

    red.path.reset();
    red.decide();
    EXPECT_EQ(red.state, EntityState::Idle);
    EXPECT_EQ(red.action, EntityAction::Continue);
}

TEST_F(BehaviourTest, repositionFightsOnArrivalAndWalksUntilThen) {
    auto world = makeWorld({"r..b"});
    Entity& red = *world->entities[0];
    red.state = EntityState::Reposition;
    red.rallyX = 1.0;
    red.rallyY = 0.0;

    red.decide();
    EXPECT_EQ(red.state, EntityState::Reposition);
    EXPECT_EQ(red.action, EntityAction::Walk);

    red.x = 1.0;
    red.decide();
    EXPECT_EQ(red.state, EntityState::Fight);
    EXPECT_EQ(red.action, EntityAction::Attack);
}

TEST_F(BehaviourTest, stateOutsideTheKnownValuesOnlyContinues) {
    auto world = makeWorld({"r..b"});
    Entity& red = *world->entities[0];
    for (const int strange : {2, -1, 11, 1000}) {
        red.state = strange;
        red.action = EntityAction::Attack;
        red.decide();
        EXPECT_EQ(red.state, strange);
        EXPECT_EQ(red.action, EntityAction::Continue);
    }
}

TEST_F(BehaviourTest, viewedTeamDoesNotFleeButTheSameSoldierDoesWhenAllAreViewed) {
    auto world = makeWorld({"....", ".r.b", "...."});
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[1];
    red.health = 10;
    blue.target = &red;
    blue.state = EntityState::Fight;
    setViewMode(ViewMode::Red);

    red.decide();
    EXPECT_EQ(red.state, EntityState::Idle);
    EXPECT_EQ(red.goalX, -1.0);

    setViewMode(ViewMode::All);
    red.decide();
    EXPECT_EQ(red.state, EntityState::Move);
    EXPECT_EQ(red.action, EntityAction::Walk);
    EXPECT_EQ(red.target, &blue);
    EXPECT_NE(red.goalX, -1.0);
}

TEST_F(BehaviourTest, hurtSoldierUnderPursuitFleesButNotWhileStillHealthy) {
    auto world = makeWorld({"....", ".r.b", "...."});
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[1];
    pursue(blue, red);
    red.health = 50;

    red.decide();
    EXPECT_EQ(red.state, EntityState::Fight);

    red.state = EntityState::Idle;
    red.health = 49;
    red.decide();
    EXPECT_EQ(red.state, EntityState::Move);
}

TEST_F(BehaviourTest, fleeCallsTheWholeTeamOntoTheThreatDeadTeammatesIncluded) {
    auto world = makeWorld({"r.....", "...r.b", "r....."});
    Entity& fleeing = *world->entities[1];
    Entity& blue = *world->entities[2];
    Entity& aliveMate = *world->entities[0];
    Entity& deadMate = *world->entities[3];
    deadMate.kill();
    fleeing.health = 40;
    pursue(blue, fleeing);

    fleeing.decide();

    EXPECT_EQ(aliveMate.target, &blue);
    EXPECT_EQ(aliveMate.state, EntityState::Pursue);
    EXPECT_EQ(deadMate.target, &blue);
    EXPECT_EQ(deadMate.state, EntityState::Pursue);
    EXPECT_EQ(deadMate.health, 0);
    EXPECT_EQ(fleeing.state, EntityState::Move);
    EXPECT_EQ(blue.target, &fleeing);
}

TEST_F(BehaviourTest, fleeHidesOnTheNearestTileTheThreatCannotSee) {
    auto world = makeWorld({"......", ".r.b..", "..o...", "......"});
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[1];
    red.health = 20;
    blue.target = &red;

    red.decide();

    EXPECT_EQ(red.state, EntityState::Move);
    ASSERT_NE(red.goalX, -1.0);
    EXPECT_FALSE(blue.hasLineOfSight(red.goalX, red.goalY));
}

TEST_F(BehaviourTest, fleeSetByAKeyWaitsForAHealthCheck) {
    auto world = makeWorld({"r..b"});
    Entity& red = *world->entities[0];
    red.state = EntityState::Flee;

    red.decide();

    EXPECT_EQ(red.state, EntityState::Flee);
    EXPECT_EQ(red.action, EntityAction::Continue);
    EXPECT_EQ(red.goalX, -1.0);
}

// On open ground the threat sees every tile, so the soldier runs straight away from it.
TEST_F(BehaviourTest, fleeRunsToTheFarthestTileOnTheRayAwayFromTheThreat) {
    auto world = makeWorld({"........", "..b.r...", "........", "........", "........"});
    Entity& red = *world->entities[1];
    Entity& blue = *world->entities[0];
    red.health = 20;
    blue.target = &red;

    red.decide();

    // Steps of (2, 0) from (4, 1): 6 is the last column reached inside the grid.
    EXPECT_EQ(red.goalX, 6.0);
    EXPECT_EQ(red.goalY, 1.0);
    EXPECT_EQ(red.state, EntityState::Move);
}

TEST_F(BehaviourTest, fleeAtTheMapEdgeHeadsForTheOppositeEdge) {
    auto world = makeWorld({"........", "........", "rb.....r", "........", "........"});
    Entity& leftRed = *world->entities[0];
    Entity& blue = *world->entities[1];
    Entity& rightRed = *world->entities[2];

    // Threat to the right of a soldier on the left edge: dy (0) >= dx (-1), so along x.
    leftRed.health = 20;
    blue.target = &leftRed;
    leftRed.decide();
    EXPECT_EQ(leftRed.goalX, 7.0);
    EXPECT_EQ(leftRed.goalY, 2.0);

    // Threat to the left of a soldier on the right edge: dy (0) < dx (1), so along y; the
    // soldier is not below the centre row (2), so the last row.
    blue.x = 6.0;
    rightRed.health = 20;
    blue.target = &rightRed;
    rightRed.decide();
    EXPECT_EQ(rightRed.goalX, 7.0);
    EXPECT_EQ(rightRed.goalY, 4.0);
}

TEST_F(BehaviourTest, fleeFromAThreatOnTheOwnTileEndsAndHeadsForAnEdge) {
    auto world = makeWorld({"........", "..r.....", "........", "........", "....b..."});
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[1];
    blue.x = red.x;
    blue.y = red.y;
    red.health = 20;
    blue.target = &red;

    red.decide();

    // No direction to run: the soldier stays left of the centre column, so the last column.
    EXPECT_EQ(red.state, EntityState::Move);
    EXPECT_EQ(red.goalX, 7.0);
    EXPECT_EQ(red.goalY, 1.0);
}

TEST_F(BehaviourTest, updateOfADeadSoldierChangesNothingNotEvenItsClock) {
    auto world = makeWorld({"r..b"});
    Entity& red = *world->entities[0];
    red.kill();
    const int32_t lastUpdate = red.lastUpdateTime;
    setSimulatedClock(5000);

    red.update();

    EXPECT_EQ(red.lastUpdateTime, lastUpdate);
    EXPECT_EQ(red.sinceUpdate, 0);
    EXPECT_EQ(red.state, EntityState::Dead);
}

TEST_F(BehaviourTest, updateDecidesOnlyAfterAMillisecondHasPassedButAlwaysMoves) {
    auto world = makeWorld({"r..b"});
    Entity& red = *world->entities[0];
    setSimulatedClock(2000);
    red.lastUpdateTime = 2000;

    red.update();
    EXPECT_EQ(red.state, EntityState::Idle);
    EXPECT_DOUBLE_EQ(red.moveProgress, 0.1);

    setSimulatedClock(2001);
    red.update();
    EXPECT_EQ(red.state, EntityState::Fight);
    EXPECT_EQ(red.sinceUpdate, 1);
    EXPECT_EQ(red.sinceShot, 2001);
    EXPECT_EQ(red.sinceReload, 2001);
    EXPECT_EQ(red.lastUpdateTime, 2001);
}

TEST_F(BehaviourTest, haltedSoldierRefillsItsHopProgressToExactlyOne) {
    auto world = makeWorld({"r..."});
    Entity& red = *world->entities[0];
    red.moveProgress = 0.95;

    red.update();
    EXPECT_EQ(red.moveProgress, 1.0);
    red.update();
    EXPECT_EQ(red.moveProgress, 1.0);
}

TEST_F(BehaviourTest, walkOrderLetsTheSoldierHopAtOnceAfterStandingStill) {
    auto world = makeWorld({"r......."});
    Entity& red = *world->entities[0];
    red.moveProgress = 1.0;
    red.requestPath(3, 0);
    red.state = EntityState::Move;
    setSimulatedClock(1001);

    red.update();

    EXPECT_FALSE(red.halted);
    EXPECT_EQ(red.x, 1.0);
}

}  // namespace
