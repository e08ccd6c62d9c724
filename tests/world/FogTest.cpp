#include <gtest/gtest.h>

#include <memory>

#include "ai/Entity.h"
#include "support/TestWorld.h"
#include "world/World.h"

namespace {

// An open field larger than a soldier's sight window, with fog cells of the given resolution.
std::unique_ptr<World> openField(int columns, int rows, int resolution = 1) {
    auto world = makeWorld({"."});
    world->columns = columns;
    world->rows = rows;
    world->fogResolution = resolution;
    world->tiles.reset(columns, rows, TileKind::BaseTile);
    world->redKnownTiles.reset(columns, rows, 0);
    world->blueKnownTiles.reset(columns, rows, 0);
    world->redFog.reset(columns * resolution, rows * resolution, 1.0);
    world->blueFog.reset(columns * resolution, rows * resolution, 1.0);
    return world;
}

TEST(Fog, loneSoldierThinsFogWithDistanceAndDiscoversNearTiles) {
    auto world = openField(40, 30);
    world->addEntity(Team::Red, 10, 10);
    world->computeFog(Team::Red);

    const Grid<double>& fog = world->redFog;
    EXPECT_EQ(fog[10][10], 0.0);
    EXPECT_EQ(fog[11][10], 0.0);
    EXPECT_NEAR(fog[11][11], 0.0038, 0.0002);
    EXPECT_NEAR(fog[20][10], 0.547, 0.001);
    EXPECT_NEAR(fog[26][10], 0.922, 0.001);
    EXPECT_EQ(fog[27][10], 1.0);
    EXPECT_EQ(fog[10][27], 1.0);

    EXPECT_EQ(world->redKnownTiles[20][10], TileKind::BaseTile);
    EXPECT_EQ(world->redKnownTiles[26][10], 0);
    EXPECT_EQ(world->redKnownTiles[27][10], 0);
}

TEST(Fog, discoveryRecordsTheTileKindAndLeavesTheOtherTeamAlone) {
    auto world = makeWorld({"r..o", "...."});
    world->computeFog(Team::Red);

    EXPECT_EQ(world->redKnownTiles[3][0], TileKind::Obstacle);
    EXPECT_EQ(world->redKnownTiles[1][1], TileKind::BaseTile);
    EXPECT_EQ(world->blueKnownTiles[1][1], 0);
    EXPECT_EQ(world->blueFog[0][0], 1.0);
}

TEST(Fog, wallCastsAShadowButIsItselfSeen) {
    auto world = makeWorld({"..r..o...."});
    world->computeFog(Team::Red);

    EXPECT_LT(world->redFog[5][0], 1.0);
    EXPECT_EQ(world->redKnownTiles[5][0], TileKind::Obstacle);
    EXPECT_EQ(world->redFog[7][0], 1.0);
    EXPECT_EQ(world->redKnownTiles[7][0], 0);
}

TEST(Fog, cellExactlyAtSightRangeIsLitByOneSixteenth) {
    // With four cells per tile the reference point sits on a cell corner, so a cell lies at
    // exactly 16 tiles (64 cells); the next one beyond does not.
    auto world = openField(20, 5, 4);
    world->addEntity(Team::Blue, 2, 2);
    world->computeFog(Team::Blue);

    const int fy = 4 * 2 + 1;
    EXPECT_DOUBLE_EQ(world->blueFog[4 * 2 + 1 + 64][fy], 1.0 - 1.0 / 16.0);
    EXPECT_EQ(world->blueFog[4 * 2 + 1 + 65][fy], 1.0);
}

TEST(Fog, teamMatesSightAddsUpToDiscovery) {
    auto alone = openField(31, 3);
    alone->addEntity(Team::Red, 0, 0);
    alone->computeFog(Team::Red);
    EXPECT_NEAR(alone->redFog[15][0], 0.8595, 0.0002);
    EXPECT_EQ(alone->redKnownTiles[15][0], 0);

    auto pair = openField(31, 3);
    pair->addEntity(Team::Red, 0, 0);
    pair->addEntity(Team::Red, 30, 0);
    pair->computeFog(Team::Red);
    EXPECT_NEAR(pair->redFog[15][0], 0.7503, 0.0002);
    EXPECT_EQ(pair->redKnownTiles[15][0], TileKind::BaseTile);
}

TEST(Fog, deadSoldierStillInTheListLightsFog) {
    auto world = makeWorld({"r....", "....."});
    world->entities[0]->kill();
    world->computeFog(Team::Red);

    EXPECT_EQ(world->redFog[0][0], 0.0);
    EXPECT_EQ(world->redKnownTiles[4][1], TileKind::BaseTile);
}

TEST(Fog, teamWithNobodyLeftKeepsItsMemoryButSeesNothing) {
    auto world = makeWorld({"r....", "....."});
    world->computeFog(Team::Red);
    world->entities.clear();
    world->computeFog(Team::Red);

    for (int x = 0; x < 5; ++x) {
        for (int y = 0; y < 2; ++y) {
            EXPECT_EQ(world->redFog[x][y], 1.0);
            EXPECT_EQ(world->redKnownTiles[x][y], TileKind::BaseTile);
        }
    }
}

TEST(Fog, unknownTeamChangesNothing) {
    auto world = makeWorld({"rb.", "..."});
    world->redFog[2][1] = 0.25;
    world->blueFog[2][1] = 0.5;
    world->computeFog(2);
    world->computeFog(-1);

    EXPECT_EQ(world->redFog[2][1], 0.25);
    EXPECT_EQ(world->blueFog[2][1], 0.5);
    EXPECT_EQ(world->redKnownTiles[0][0], 0);
    EXPECT_EQ(world->blueKnownTiles[1][0], 0);
}

}  // namespace
