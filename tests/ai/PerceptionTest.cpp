#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "ai/Entity.h"
#include "support/TestWorld.h"
#include "world/World.h"

namespace {

Entity& soldier(World& world, int index) {
    return *world.entities[index];
}

// --- Ray marches -------------------------------------------------------------------------

TEST(LineOfSight, identicalPointsAreVisibleWithoutLookingAtTheTile) {
    auto world = makeWorld({"...", ".r.", "..."});
    world->tiles[1][1] = TileKind::Obstacle;
    EXPECT_TRUE(soldier(*world, 0).hasLineOfSight(1.0, 1.0));
}

TEST(LineOfSight, rayToATileCentreTestsTheEndTileButNotBeyond) {
    auto blocked = makeWorld({"r....o..", "........"});
    EXPECT_FALSE(soldier(*blocked, 0).hasLineOfSight(5.5, 0.5));

    auto clear = makeWorld({"r.....o.", "........"});
    EXPECT_TRUE(soldier(*clear, 0).hasLineOfSight(5.5, 0.5));
}

TEST(LineOfSight, rayToATileCornerStopsShortOfTheCornerTile) {
    auto world = makeWorld({"r....o..", "........"});
    EXPECT_TRUE(soldier(*world, 0).hasLineOfSight(5.0, 0.0));
    EXPECT_FALSE(soldier(*world, 0).hasLineOfSight(6.0, 0.0));
}

TEST(LineOfSight, minorAxisIsFlooredAlongADiagonal) {
    // The ray from (0, 0) to (4, 2) passes (1, 0.5), (2, 1), (3, 1.5).
    auto wallBelow = makeWorld({"r....", ".o...", "....."});
    EXPECT_TRUE(soldier(*wallBelow, 0).hasLineOfSight(4.0, 2.0));

    auto wallOnRay = makeWorld({"r....", "...o.", "....."});
    EXPECT_FALSE(soldier(*wallOnRay, 0).hasLineOfSight(4.0, 2.0));
}

TEST(LineOfSight, pointCloserThanOneStepAlsoTestsThePointBeyond) {
    auto world = makeWorld({"ro."});
    EXPECT_FALSE(soldier(*world, 0).hasLineOfSight(0.5, 0.0));
}

TEST(LineOfSight, raysLeavingTheGridAreNotBlockedOutThere) {
    auto world = makeWorld({"...", ".r.", "..."});
    Entity& e = soldier(*world, 0);
    EXPECT_TRUE(e.hasLineOfSight(-4.0, 1.0));
    EXPECT_TRUE(e.hasLineOfSight(1.0, 9.5));
    EXPECT_TRUE(e.hasLineOfSight(1e12, -3e11));
}

TEST(LineOfSight, notANumberOrInfinityIsAnsweredWithoutMarching) {
    auto world = makeWorld({"r.o"});
    Entity& e = soldier(*world, 0);
    EXPECT_TRUE(e.hasLineOfSight(NAN, 0.0));
    EXPECT_TRUE(e.hasLineOfSight(INFINITY, 0.0));
    EXPECT_FALSE(e.isFriendInLineOfFire(0.0, -INFINITY));
    EXPECT_TRUE(e.isLineClear(NAN, NAN, 1.0, 0.0));
}

TEST(LineClear, rayFromOffTheGridIsTestedOnceItEntersIt) {
    auto world = makeWorld({".o...", "....r"});
    Entity& e = soldier(*world, 0);
    EXPECT_FALSE(e.isLineClear(-6.0, 0.5, 3.5, 0.5));
    EXPECT_TRUE(e.isLineClear(-6.0, 1.5, 3.5, 1.5));
}

TEST(LineClear, anySoldierDeadOrAliveBlocksButTheStartTileIsNotTested) {
    auto world = makeWorld({"r.b..", "....."});
    Entity& e = soldier(*world, 0);
    EXPECT_FALSE(e.isLineClear(0.0, 0.0, 4.0, 0.0));
    soldier(*world, 1).kill();
    EXPECT_FALSE(e.isLineClear(0.0, 0.0, 4.0, 0.0));
    EXPECT_TRUE(e.isLineClear(2.0, 0.0, 4.0, 0.0));
    EXPECT_TRUE(e.isLineClear(0.0, 1.0, 4.0, 1.0));
}

TEST(LineOfFire, shootersOwnTileIsNeverTested) {
    auto world = makeWorld({"r....b"});
    world->addEntity(Team::Red, 0, 0);
    EXPECT_FALSE(soldier(*world, 0).isFriendInLineOfFire(5.5, 0.5));
}

TEST(LineOfFire, deadTeammateBlocksButEnemiesDoNot) {
    auto world = makeWorld({"r.r.b.b"});
    Entity& shooter = soldier(*world, 0);
    soldier(*world, 1).kill();
    EXPECT_TRUE(shooter.isFriendInLineOfFire(3.5, 0.5));
    EXPECT_TRUE(shooter.isFriendInLineOfFire(0.0, 0.0));

    auto open = makeWorld({"r...b.b"});
    EXPECT_FALSE(soldier(*open, 0).isFriendInLineOfFire(6.5, 0.5));
}

// --- Team sight --------------------------------------------------------------------------

// A red soldier at (0, 0) with a wall in the way, and a red team-mate at (14, 1) right next
// to the points it is asked about.
std::unique_ptr<World> walledSightLine() {
    return makeWorld({"r......o.........", "..............r.."});
}

TEST(TeamSight, pointInsideOwnRangeUsesOnlyOwnSight) {
    auto world = walledSightLine();
    EXPECT_FALSE(soldier(*world, 0).canSeePoint(14.9, 0.0));
}

TEST(TeamSight, pointExactlyAtRangeAsksTheTeamMates) {
    auto world = walledSightLine();
    EXPECT_TRUE(soldier(*world, 0).canSeePoint(15.0, 0.0));
    soldier(*world, 1).kill();
    EXPECT_TRUE(soldier(*world, 0).canSeePoint(15.0, 0.0));
    world->entities.pop_back();
    EXPECT_FALSE(soldier(*world, 0).canSeePoint(15.0, 0.0));
}

TEST(TeamSight, entityIsSeenOnItsTile) {
    auto world = makeWorld({"r.o.b"});
    EXPECT_FALSE(soldier(*world, 0).canSeeEntity(soldier(*world, 1)));
    world->toggleTile(2, 0);
    EXPECT_TRUE(soldier(*world, 0).canSeeEntity(soldier(*world, 1)));
}

// A red soldier at (0, 0), its team-mate at (20, 0) and a blue target at (22, 0).
std::unique_ptr<World> distantTarget() {
    auto world = makeWorld({"r...................r.b"});
    soldier(*world, 0).target = &soldier(*world, 2);
    return world;
}

TEST(TargetSpotted, deadSpotterStillCounts) {
    auto world = distantTarget();
    EXPECT_TRUE(soldier(*world, 0).isTargetSpotted());
    soldier(*world, 1).kill();
    EXPECT_TRUE(soldier(*world, 0).isTargetSpotted());
    world->entities.erase(world->entities.begin() + 1);
    EXPECT_FALSE(soldier(*world, 0).isTargetSpotted());
}

TEST(TargetSpotted, theSoldierItselfMustSeeTheTarget) {
    auto world = distantTarget();
    world->toggleTile(10, 0);
    EXPECT_FALSE(soldier(*world, 0).isTargetSpotted());
    EXPECT_TRUE(soldier(*world, 1).canSeeEntity(soldier(*world, 2)));
}

TEST(TargetSpotted, deadOrMissingTargetIsNotSpotted) {
    auto world = distantTarget();
    soldier(*world, 2).kill();
    EXPECT_FALSE(soldier(*world, 0).isTargetSpotted());
    soldier(*world, 0).target = nullptr;
    EXPECT_FALSE(soldier(*world, 0).isTargetSpotted());
}

// --- Target choice -----------------------------------------------------------------------

TEST(AcquireTarget, nearestSpottedEnemyWinsAndTiesGoToTheEarlier) {
    auto world = makeWorld({"..b..", ".....", "b.r..", ".....", "..b.."});
    Entity& e = soldier(*world, 2);
    e.acquireTarget();
    EXPECT_EQ(e.target, &soldier(*world, 0));

    soldier(*world, 1).x = 1.0;
    e.acquireTarget();
    EXPECT_EQ(e.target, &soldier(*world, 1));
}

TEST(AcquireTarget, unseenDeadOrUnspottedEnemiesLeaveTheTargetUnchanged) {
    auto world = makeWorld({"r.o.b", ".....", "....b"});
    Entity& e = soldier(*world, 0);
    soldier(*world, 2).kill();
    e.target = &e;
    e.acquireTarget();
    EXPECT_EQ(e.target, &e);

    auto far = makeWorld({"r.................b"});
    soldier(*far, 0).acquireTarget();
    EXPECT_EQ(soldier(*far, 0).target, nullptr);
}

TEST(AcquireTarget, targetIsTheLastLivingSoldierOnTheEnemysTile) {
    auto world = makeWorld({"r..b"});
    world->addEntity(Team::Red, 3, 0);
    soldier(*world, 0).acquireTarget();
    EXPECT_EQ(soldier(*world, 0).target, &soldier(*world, 2));
}

// --- Threats -----------------------------------------------------------------------------

TEST(Threats, onlyLivingEnemiesCountAndPursuitNeedsThePursueState) {
    auto world = makeWorld({"r.b.b.r"});
    Entity& e = soldier(*world, 0);
    Entity& near = soldier(*world, 1);
    Entity& far = soldier(*world, 2);
    soldier(*world, 3).target = &e;  // a team-mate is no threat
    EXPECT_FALSE(e.isTargetedByEnemy());
    EXPECT_EQ(e.nearestEnemyTargeting(), nullptr);

    far.target = &e;
    far.state = EntityState::Fight;
    EXPECT_TRUE(e.isTargetedByEnemy());
    EXPECT_FALSE(e.isPursuedByEnemy());
    EXPECT_EQ(e.nearestPursuer(), nullptr);

    near.target = &e;
    near.state = EntityState::Pursue;
    EXPECT_TRUE(e.isPursuedByEnemy());
    EXPECT_EQ(e.nearestEnemyTargeting(), &near);
    EXPECT_EQ(e.nearestPursuer(), &near);

    near.kill();
    near.state = EntityState::Pursue;
    EXPECT_FALSE(e.isPursuedByEnemy());
    EXPECT_EQ(e.nearestEnemyTargeting(), &far);
}

TEST(Threats, equallyNearThreatsGoToTheEarlierInTheList) {
    auto world = makeWorld({"b.r.b"});
    Entity& e = soldier(*world, 1);
    for (const int index : {2, 0}) {
        soldier(*world, index).target = &e;
        soldier(*world, index).state = EntityState::Pursue;
    }
    EXPECT_EQ(e.nearestEnemyTargeting(), &soldier(*world, 0));
    EXPECT_EQ(e.nearestPursuer(), &soldier(*world, 0));
}

// --- Tile searches -----------------------------------------------------------------------

void discoverAll(World& world) {
    world.redKnownTiles.fill(TileKind::BaseTile);
    world.blueKnownTiles.fill(TileKind::BaseTile);
}

TEST(HidingTile, nothingHiddenLeavesNoGoalAndNoPath) {
    auto world = makeWorld({"b....", ".....", "..r.."});
    Entity& e = soldier(*world, 1);
    e.goalX = 4.0;
    e.goalY = 4.0;
    e.findHidingTile(soldier(*world, 0));
    EXPECT_EQ(e.goalX, -1.0);
    EXPECT_EQ(e.goalY, -1.0);
    EXPECT_EQ(e.path, nullptr);
}

TEST(HidingTile, nearestHiddenFreeTileWinsAndTiesGoColumnFirst) {
    // Behind the wall (3, 1), (4, 0) and (4, 2) are all one tile from the soldier at (4, 1).
    auto world = makeWorld({"b.o..", "..o.r", "....."});
    Entity& e = soldier(*world, 1);
    e.findHidingTile(soldier(*world, 0));
    EXPECT_EQ(e.goalX, 3.0);
    EXPECT_EQ(e.goalY, 1.0);
    EXPECT_NE(e.path, nullptr);
}

TEST(FiringPosition, nearestQualifyingTileWinsAndTiesGoRowFirst) {
    // From (2, 1) and (1, 2) the line to the target runs through the soldier's own tile;
    // (3, 2) and (2, 3) are clear and equally near.
    auto world = makeWorld({".....", ".....", "..r..", ".....", "....b"});
    discoverAll(*world);
    Entity& e = soldier(*world, 0);
    e.target = &soldier(*world, 1);
    e.findFiringPosition();
    EXPECT_EQ(e.state, EntityState::Reposition);
    EXPECT_EQ(e.rallyX, 3.0);
    EXPECT_EQ(e.rallyY, 2.0);
    EXPECT_EQ(e.goalX, 3.0);
    EXPECT_NE(e.path, nullptr);
}

TEST(FiringPosition, onlyTilesWithinTheCurrentGunsReachOfTheTargetQualify) {
    auto world = makeWorld({"r........b"});
    discoverAll(*world);
    Entity& e = soldier(*world, 0);
    e.target = &soldier(*world, 1);
    e.currentWeapon = e.primaryWeapon.get();
    e.findFiringPosition();
    EXPECT_EQ(e.rallyX, 6.0);
}

TEST(FiringPosition, undiscoveredTilesNeverQualify) {
    auto world = makeWorld({"r........b"});
    Entity& e = soldier(*world, 0);
    e.target = &soldier(*world, 1);
    e.action = EntityAction::Attack;
    e.findFiringPosition();
    EXPECT_EQ(e.state, EntityState::Idle);
    EXPECT_EQ(e.action, EntityAction::Continue);
    EXPECT_EQ(e.path, nullptr);

    world->redKnownTiles[7][0] = TileKind::BaseTile;
    e.findFiringPosition();
    EXPECT_EQ(e.state, EntityState::Reposition);
    EXPECT_EQ(e.rallyX, 7.0);
}

TEST(FiringPosition, withoutATargetTheSoldierGoesIdle) {
    auto world = makeWorld({"r...."});
    discoverAll(*world);
    Entity& e = soldier(*world, 0);
    e.state = EntityState::Fight;
    e.findFiringPosition();
    EXPECT_EQ(e.state, EntityState::Idle);
    EXPECT_EQ(e.action, EntityAction::Continue);
}

TEST(FrontierTile, noFrontierLeavesTheGoalAsItWas) {
    auto world = makeWorld({"r..", "...", "..."});
    Entity& e = soldier(*world, 0);
    e.goalX = 2.0;
    e.goalY = 1.0;
    e.pickFrontierTile();  // nothing discovered yet
    discoverAll(*world);
    e.pickFrontierTile();  // everything discovered
    EXPECT_EQ(e.goalX, 2.0);
    EXPECT_EQ(e.goalY, 1.0);
    EXPECT_EQ(e.path, nullptr);
}

TEST(FrontierTile, wallNextToTheUnknownIsNoFrontier) {
    auto world = makeWorld({"r...."});
    world->redKnownTiles[0][0] = TileKind::BaseTile;
    world->redKnownTiles[1][0] = TileKind::BaseTile;
    world->redKnownTiles[2][0] = TileKind::Obstacle;
    soldier(*world, 0).pickFrontierTile();
    EXPECT_EQ(soldier(*world, 0).goalX, -1.0);

    world->redKnownTiles[2][0] = TileKind::BaseTile;
    soldier(*world, 0).pickFrontierTile();
    EXPECT_EQ(soldier(*world, 0).goalX, 2.0);
}

TEST(FrontierTile, randomDrawIndexesTheFrontierInColumnMajorOrder) {
    // Frontier around the undiscovered corner (2, 2): (1, 1), (1, 2), (2, 1) by columns.
    auto world = makeWorld({"r..", "...", "..."});
    discoverAll(*world);
    world->redKnownTiles[2][2] = 0;
    unsigned seed = 1;
    for (srand(seed); rand() % 3 != 1; srand(seed)) {
        ++seed;
    }
    srand(seed);
    soldier(*world, 0).pickFrontierTile();
    EXPECT_EQ(soldier(*world, 0).goalX, 1.0);
    EXPECT_EQ(soldier(*world, 0).goalY, 2.0);
}

}  // namespace
