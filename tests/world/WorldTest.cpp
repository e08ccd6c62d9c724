#include <gtest/gtest.h>

#include <climits>

#include "ai/Entity.h"
#include "support/TestWorld.h"

TEST(World, laterOfTwoLivingSoldiersOnATileWinsEntityAt) {
    auto world = makeWorld({"rb.", "..."});
    Entity* blue = world->entities[1];
    blue->x = 0.0;
    EXPECT_EQ(world->entityAt(0, 0), blue);
    blue->health = 0;
    EXPECT_EQ(world->entityAt(0, 0), world->entities[0]);
    EXPECT_EQ(world->entityAt(-1, 0), nullptr);
    EXPECT_EQ(world->entityAt(3, 0), nullptr);
}

TEST(World, deadSoldierFreesItsTileButStillCountsAsOnIt) {
    auto world = makeWorld({"r.", ".."});
    world->entities[0]->kill();
    EXPECT_EQ(world->entityAt(0, 0), nullptr);
    EXPECT_TRUE(world->isTileFree(0, 0));
    EXPECT_TRUE(world->isEntityOnTile(0, 0));
    EXPECT_TRUE(world->isTeamOnTile(0, 0, Team::Red));
    EXPECT_FALSE(world->isTeamOnTile(0, 0, Team::Blue));
    EXPECT_TRUE(world->isOtherTeamOnTile(0, 0, Team::Blue));
    EXPECT_FALSE(world->isOtherTeamOnTile(0, 0, Team::Red));
}

TEST(World, onlyWallsAndLivingSoldiersBlockATile) {
    auto world = makeWorld({"nor"});
    EXPECT_TRUE(world->isTileFree(0, 0));
    EXPECT_FALSE(world->isTileFree(1, 0));
    EXPECT_FALSE(world->isTileFree(2, 0));
    EXPECT_FALSE(world->isTileFree(3, 0));
}

TEST(World, toggleTurnsFloorToWallAndAnythingElseToFloor) {
    auto world = makeWorld({"n."});
    world->toggleTile(0, 0);
    EXPECT_EQ(world->tileKind(0, 0), TileKind::BaseTile);
    world->toggleTile(1, 0);
    EXPECT_EQ(world->tileKind(1, 0), TileKind::Obstacle);
    world->toggleTile(1, 0);
    EXPECT_EQ(world->tileKind(1, 0), TileKind::BaseTile);
    world->toggleTile(5, 5);  // outside: ignored
}

TEST(World, noWallIsBuiltUnderALivingSoldier) {
    auto world = makeWorld({"rb"});
    world->toggleTile(0, 0);
    EXPECT_EQ(world->tileKind(0, 0), TileKind::BaseTile);
    world->entities[1]->health = 0;
    world->toggleTile(1, 0);
    EXPECT_EQ(world->tileKind(1, 0), TileKind::Obstacle);
}

TEST(World, zoomOutStopsAtTheFloor) {
    World world;
    world.zoomOut();
    EXPECT_EQ(world.zoom, 1.0 / 1.05);
    world.zoom = 0.18;
    world.zoomOut();
    EXPECT_EQ(world.zoom, 0.175);
    world.zoomOut();
    EXPECT_EQ(world.zoom, 0.175);
}

TEST(World, screenToTileFloorsSoBesideTheGridIsOffIt) {
    World world;
    world.viewOffsetX = 64;
    world.viewOffsetY = 200;
    int x = 0;
    int y = 0;
    world.screenToTile(0, 0, x, y);  // half a tile left, over a tile and a half above
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -2);
    world.screenToTile(64, 200, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    world.zoom = 0.2;
    world.viewOffsetX = 0;
    world.viewOffsetY = 76;
    world.screenToTile(1023, 767, x, y);
    EXPECT_EQ(x, 39);
    EXPECT_EQ(y, 26);
    world.zoom = 1e-300;
    world.viewOffsetX = INT_MAX;
    world.screenToTile(INT_MIN, INT_MAX, x, y);
    EXPECT_EQ(x, INT_MIN);
}

TEST(World, obstacleTestFloorsAndTreatsTheEdgeAsWall) {
    auto world = makeWorld({".o", ".."});
    EXPECT_TRUE(world->isObstacleAt(1.99, 0.5));
    EXPECT_FALSE(world->isObstacleAt(0.99, 1.99));
    EXPECT_TRUE(world->isObstacleAt(-0.01, 0.0));
    EXPECT_TRUE(world->isObstacleAt(0.0, 2.0));
}

TEST(World, teamTargetReachesDeadMembersAndSparesTheOtherTeam) {
    auto world = makeWorld({"rrb"});
    world->entities[1]->kill();
    Entity* enemy = world->entities[2];
    world->setTeamTarget(enemy, Team::Red);
    for (int i : {0, 1}) {
        EXPECT_EQ(world->entities[i]->target, enemy);
        EXPECT_EQ(world->entities[i]->state, EntityState::Pursue);
    }
    EXPECT_EQ(enemy->target, nullptr);
    EXPECT_EQ(enemy->state, EntityState::Idle);
}

TEST(World, soldiersOutliveTheirPlaceInTheList) {
    auto world = makeWorld({"rb"});
    Entity* red = world->entities[0];
    EXPECT_EQ(red->allEntities, &world->entities);
    world->entities.erase(world->entities.begin());
    EXPECT_EQ(world->roster.at(0).get(), red);
}
