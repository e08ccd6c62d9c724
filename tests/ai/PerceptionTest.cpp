#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ai/Entity.h"
#include "base/GameRandom.h"
#include "support/TestWorld.h"
#include "world/World.h"

namespace {

Entity& soldier(World& world, int index) {
    return *world.entities[index];
}

TEST(Rays, marchTestsTheEndTileOfACentreButNotOfACorner) {
    auto wallAtFive = makeWorld({"r....o..", "........"});
    auto wallAtSix = makeWorld({"r.....o.", "........"});
    EXPECT_FALSE(soldier(*wallAtFive, 0).hasLineOfSight(5.5, 0.5));
    EXPECT_TRUE(soldier(*wallAtSix, 0).hasLineOfSight(5.5, 0.5));
    EXPECT_TRUE(soldier(*wallAtFive, 0).hasLineOfSight(5.0, 0.0));
    wallAtFive->tiles[0][0] = TileKind::Obstacle;
    EXPECT_TRUE(soldier(*wallAtFive, 0).hasLineOfSight(0.0, 0.0));

    // From (0, 0) to (4, 2) the points are (1, 0.5), (2, 1), (3, 1.5): floored, not rounded.
    auto diagonal = makeWorld({"r....", ".o...", "....."});
    EXPECT_TRUE(soldier(*diagonal, 0).hasLineOfSight(4.0, 2.0));
    diagonal->tiles[3][1] = TileKind::Obstacle;
    EXPECT_FALSE(soldier(*diagonal, 0).hasLineOfSight(4.0, 2.0));
}

TEST(Rays, pointsOffTheGridAreSkippedAndWildPointsAreNotMarched) {
    auto world = makeWorld({".o...", "....r"});
    Entity& e = soldier(*world, 0);
    EXPECT_TRUE(e.hasLineOfSight(9.0, 1.0));
    EXPECT_TRUE(e.hasLineOfSight(1e12, -3e11));
    EXPECT_FALSE(e.isLineClear(-6.0, 0.5, 3.5, 0.5));
    EXPECT_TRUE(e.isLineClear(-6.0, 1.5, 3.5, 1.5));
    EXPECT_TRUE(e.hasLineOfSight(NAN, 0.0));
    EXPECT_FALSE(e.isFriendInLineOfFire(0.0, -INFINITY));
}

TEST(Rays, lineOfFireSkipsTheShootersTileAndIsBlockedByDeadTeamMates) {
    auto world = makeWorld({"r.r.b.b"});
    world->addEntity(Team::Red, 0, 0);
    Entity& shooter = soldier(*world, 0);
    EXPECT_FALSE(shooter.isFriendInLineOfFire(1.5, 0.5));
    soldier(*world, 1).kill();
    EXPECT_TRUE(shooter.isFriendInLineOfFire(3.5, 0.5));
    EXPECT_FALSE(soldier(*world, 1).isFriendInLineOfFire(6.5, 0.5));
    // A clear line is blocked by anyone, but not on its start tile.
    EXPECT_FALSE(shooter.isLineClear(0.0, 0.0, 4.0, 0.0));
    EXPECT_TRUE(shooter.isLineClear(2.0, 0.0, 4.0, 0.0));
}

TEST(TeamSight, ownRangeIsStrictAndTeamMatesAreAskedFromExactlyFifteen) {
    // A wall blocks the soldier at (0, 0); a team-mate at (14, 1) sees both points.
    auto world = makeWorld({"r......o.........", "..............r.."});
    Entity& e = soldier(*world, 0);
    EXPECT_FALSE(e.canSeePoint(14.9, 0.0));
    soldier(*world, 1).kill();
    EXPECT_TRUE(e.canSeePoint(15.0, 0.0));
    world->entities.pop_back();
    EXPECT_FALSE(e.canSeePoint(15.0, 0.0));
}

TEST(TeamSight, spottedTargetNeedsANearSpotterEvenDeadAndTheSoldiersOwnSight) {
    auto world = makeWorld({"r...................r.b"});
    Entity& e = soldier(*world, 0);
    e.target = &soldier(*world, 2);
    soldier(*world, 1).kill();
    EXPECT_TRUE(e.isTargetSpotted());
    world->toggleTile(10, 0);
    EXPECT_FALSE(e.isTargetSpotted());
    world->toggleTile(10, 0);
    world->entities.erase(world->entities.begin() + 1);
    EXPECT_FALSE(e.isTargetSpotted());
    e.target = nullptr;
    EXPECT_FALSE(e.isTargetSpotted());
}

TEST(AcquireTarget, nearestSpottedEnemyWinsTiesGoEarlierNoneLeavesTheTarget) {
    auto world = makeWorld({"..b..", ".....", "b.r..", "...o.", "..b.b"});
    Entity& e = soldier(*world, 2);
    e.acquireTarget();
    EXPECT_EQ(e.target, &soldier(*world, 0));

    soldier(*world, 0).kill();
    soldier(*world, 1).kill();
    soldier(*world, 3).kill();
    e.target = &e;
    e.acquireTarget();  // the one left stands behind a wall
    EXPECT_EQ(e.target, &e);
}

TEST(AcquireTarget, targetIsTheLastLivingSoldierOnTheEnemysTile) {
    auto world = makeWorld({"r..b"});
    world->addEntity(Team::Red, 3, 0);
    soldier(*world, 0).acquireTarget();
    EXPECT_EQ(soldier(*world, 0).target, &soldier(*world, 2));
}

TEST(Threats, onlyLivingEnemiesCountNearestFirstPursuitNeedsPursue) {
    auto world = makeWorld({"r.b.b.r"});
    Entity& e = soldier(*world, 0);
    Entity& near = soldier(*world, 1);
    Entity& far = soldier(*world, 2);
    soldier(*world, 3).target = &e;  // a team-mate is no threat
    soldier(*world, 3).state = EntityState::Pursue;
    far.target = &e;
    far.state = EntityState::Fight;
    EXPECT_TRUE(e.isTargetedByEnemy());
    EXPECT_FALSE(e.isPursuedByEnemy());
    EXPECT_EQ(e.nearestPursuer(), nullptr);

    near.target = &e;
    near.state = EntityState::Pursue;
    EXPECT_EQ(e.nearestEnemyTargeting(), &near);
    EXPECT_EQ(e.nearestPursuer(), &near);
    near.kill();
    near.state = EntityState::Pursue;
    EXPECT_FALSE(e.isPursuedByEnemy());
    EXPECT_EQ(e.nearestEnemyTargeting(), &far);
}

TEST(TileSearch, hidingTileIsTheNearestHiddenOneColumnFirstOrNone) {
    // Behind the wall, (3, 1), (4, 0) and (4, 2) are all one tile from the soldier at (4, 1).
    auto world = makeWorld({"b.o..", "..o.r", "....."});
    Entity& e = soldier(*world, 1);
    e.findHidingTile(soldier(*world, 0));
    EXPECT_EQ(e.goalX, 3.0);
    EXPECT_EQ(e.goalY, 1.0);
    EXPECT_NE(e.path, nullptr);

    auto open = makeWorld({"b....", "....r"});
    soldier(*open, 1).findHidingTile(soldier(*open, 0));
    EXPECT_EQ(soldier(*open, 1).goalX, -1.0);
    EXPECT_EQ(soldier(*open, 1).path, nullptr);
}

TEST(TileSearch, firingPositionIsTheNearestKnownClearTileRowFirst) {
    // The lines from (2, 1) and (1, 2) cross the soldier's own tile; (3, 2) and (2, 3) tie.
    auto world = makeWorld({".....", ".....", "..r..", ".....", "....b"});
    Entity& e = soldier(*world, 0);
    e.target = &soldier(*world, 1);
    e.state = EntityState::Fight;
    e.action = EntityAction::Attack;
    e.findFiringPosition();
    EXPECT_EQ(e.state, EntityState::Idle);  // nothing discovered yet
    EXPECT_EQ(e.action, EntityAction::Continue);

    world->redKnownTiles.fill(TileKind::BaseTile);
    e.findFiringPosition();
    EXPECT_EQ(e.state, EntityState::Reposition);
    EXPECT_EQ(e.rallyX, 3.0);
    EXPECT_EQ(e.rallyY, 2.0);
    EXPECT_NE(e.path, nullptr);
}

TEST(TileSearch, frontierTileIsDrawnInColumnOrderAndNoFrontierKeepsTheGoal) {
    auto world = makeWorld({"r..", "...", "..."});
    Entity& e = soldier(*world, 0);
    e.goalX = 2.0;
    e.pickFrontierTile();
    world->redKnownTiles.fill(TileKind::BaseTile);
    e.pickFrontierTile();
    EXPECT_EQ(e.goalX, 2.0);
    EXPECT_EQ(e.path, nullptr);

    // Around the unknown corner (2, 2) the frontier is (1, 1), (1, 2), (2, 1) by columns.
    world->redKnownTiles[2][2] = 0;
    unsigned seed = 1;
    for (seedGameRand(seed); gameRand() % 3 != 1; seedGameRand(seed)) {
        ++seed;
    }
    seedGameRand(seed);
    e.pickFrontierTile();
    EXPECT_EQ(e.goalX, 1.0);
    EXPECT_EQ(e.goalY, 2.0);
}

}  // namespace
