#include <gtest/gtest.h>

#include <memory>

#include "ai/Entity.h"
#include "support/TestWorld.h"
#include "world/World.h"

namespace {

// An open field wider than a soldier's sight window.
std::unique_ptr<World> openField(int columns, int rows, int resolution = 1) {
    auto world = std::make_unique<World>();
    world->resize(columns, rows, resolution);
    return world;
}

TEST(Fog, loneSoldierThinsFogWithDistanceAndDiscoversNearTiles) {
    auto world = openField(40, 30);
    world->addEntity(Team::Red, 10, 10);
    world->tiles[20][11] = TileKind::Obstacle;
    world->computeFog(Team::Red);

    const Grid<double>& fog = world->redFog;
    EXPECT_EQ(fog[10][10], 0.0);
    EXPECT_EQ(fog[11][10], 0.0);
    EXPECT_NEAR(fog[11][11], 0.0038, 0.0002);
    EXPECT_NEAR(fog[20][10], 0.547, 0.001);
    EXPECT_NEAR(fog[26][10], 0.922, 0.001);
    EXPECT_EQ(fog[27][10], 1.0);
    EXPECT_EQ(fog[10][27], 1.0);
    EXPECT_EQ(fog[23][12], 1.0);  // in the wall's shadow
    EXPECT_EQ(world->redKnownTiles[20][10], TileKind::BaseTile);
    EXPECT_EQ(world->redKnownTiles[20][11], TileKind::Obstacle);
    EXPECT_EQ(world->redKnownTiles[26][10], 0);
    EXPECT_EQ(world->blueKnownTiles[10][10], 0);
}

TEST(Fog, cellExactlyAtSightRangeIsLitByOneSixteenth) {
    // At four cells per tile the reference point is a cell corner: 64 cells is exactly 16 tiles.
    auto world = openField(20, 5, 4);
    world->addEntity(Team::Blue, 2, 2);
    world->computeFog(Team::Blue);
    EXPECT_DOUBLE_EQ(world->blueFog[9 + 64][9], 1.0 - 1.0 / 16.0);
    EXPECT_EQ(world->blueFog[9 + 65][9], 1.0);
}

TEST(Fog, deadSoldierLightsFogAndAnEmptyTeamKeepsItsMemory) {
    auto world = makeWorld({"r....", "....b"});
    world->entities[0]->kill();
    world->computeFog(Team::Red);
    EXPECT_EQ(world->redFog[0][0], 0.0);

    world->entities.erase(world->entities.begin());
    world->computeFog(Team::Red);
    world->computeFog(2);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(world->redFog[x][1], 1.0);
        EXPECT_EQ(world->redKnownTiles[x][1], TileKind::BaseTile);
        EXPECT_EQ(world->blueFog[x][1], 1.0);
    }
}

}  // namespace
