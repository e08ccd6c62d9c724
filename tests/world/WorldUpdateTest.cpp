#include <gtest/gtest.h>

#include <algorithm>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "support/TestWorld.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

class WorldUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Soldiers built now and updated at the same millisecond only move, never decide.
        setSimulatedClock(0);
    }
};

TEST_F(WorldUpdateTest, deadSoldiersLeaveTheListOnePerUpdateLastFirstButStayInTheRoster) {
    auto world = autonomousWorld({"rbrbr", ".....", "brbrb"});
    for (const int index : {2, 5, 7}) {
        world->entities[index]->kill();
    }
    for (const int removed : {7, 5, 2}) {
        Entity* const expected = world->roster[removed].get();
        world->update();
        EXPECT_EQ(std::count(world->entities.begin(), world->entities.end(), expected), 0);
    }
    EXPECT_EQ(world->entities.size(), 7u);
    EXPECT_EQ(world->entities[2], world->roster[3].get());  // order kept
    EXPECT_EQ(world->roster[5]->state, EntityState::Dead);
}

TEST_F(WorldUpdateTest, cameraOffsetsComeFromZoomAndCentreTruncatedTowardZero) {
    struct Camera {
        double zoom, x, y;
        int offsetX, offsetY;
    };
    const Camera cameras[] = {
        {0.2, 20.0, 12.0, 0, 76},
        {1.0, 0.0, 0.0, 512, 384},
        {1.0, 4.3, 0.0, -38, 384},  // 512 - 550.4
    };
    auto world = autonomousWorld({"...."});  // no soldiers and no bullets: only the camera changes
    for (const Camera& camera : cameras) {
        world->zoom = camera.zoom;
        world->cameraX = camera.x;
        world->cameraY = camera.y;
        world->update();
        EXPECT_DOUBLE_EQ(world->tilePixelWidth, TILE_SIZE * camera.zoom);
        EXPECT_DOUBLE_EQ(world->tilePixelHeight, TILE_SIZE * camera.zoom);
        EXPECT_EQ(world->viewOffsetX, camera.offsetX) << camera.zoom << " " << camera.x;
        EXPECT_EQ(world->viewOffsetY, camera.offsetY) << camera.zoom << " " << camera.y;
    }
}

TEST_F(WorldUpdateTest, bulletFiredDuringTheTurnsMovesInTheSameUpdate) {
    auto world = autonomousWorld({"r.....b"});
    Entity& red = *world->entities[0];
    red.target = world->entities[1];
    red.state = EntityState::Fight;
    world->commandedTeams = teamBit(Team::Blue);  // blue waits, holding its fire
    setSimulatedClock(5001);

    world->update();

    ASSERT_EQ(world->bullets.size(), 1u);
    EXPECT_EQ(world->bullets[0]->originX, 1.0);
    EXPECT_DOUBLE_EQ(world->bullets[0]->x, 1.2);
}

}  // namespace
