#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "support/TestWorld.h"
#include "world/Bullet.h"
#include "world/GameClock.h"
#include "world/World.h"

namespace {

class WorldUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResourceCatalogue::instance()->viewMode = ViewMode::All;
        // Soldiers built now and updated at the same millisecond only move, never decide.
        setSimulatedClock(0);
    }
    void TearDown() override { ResourceCatalogue::instance()->viewMode = ViewMode::Red; }
};

std::vector<Entity*> listedExcept(const World& world, std::initializer_list<int> dropped) {
    std::vector<Entity*> expected;
    for (int i = 0; i < static_cast<int>(world.roster.size()); ++i) {
        if (std::find(dropped.begin(), dropped.end(), i) == dropped.end()) {
            expected.push_back(world.roster[i].get());
        }
    }
    return expected;
}

TEST_F(WorldUpdateTest, deadSoldiersLeaveTheListOnePerUpdateLastFirstButStayAllocated) {
    auto world = makeWorld({"rbrbr", ".....", "brbrb"});
    for (const int index : {2, 5, 7}) {
        world->entities[index]->kill();
    }

    world->update();
    EXPECT_EQ(world->entities, listedExcept(*world, {7}));
    world->update();
    EXPECT_EQ(world->entities, listedExcept(*world, {7, 5}));
    world->update();
    EXPECT_EQ(world->entities, listedExcept(*world, {7, 5, 2}));
    world->update();
    EXPECT_EQ(world->entities.size(), 7u);

    ASSERT_EQ(world->roster.size(), 10u);
    for (const int index : {2, 5, 7}) {
        EXPECT_EQ(world->roster[index]->state, EntityState::Dead);
        EXPECT_EQ(world->roster[index]->health, 0);
    }
}

TEST_F(WorldUpdateTest, emptyWorldOnlyRefreshesTheCamera) {
    auto world = makeWorld({"....", "...."});
    world->zoom = 0.5;
    world->cameraX = 2.0;
    world->cameraY = 1.0;

    world->update();

    EXPECT_EQ(world->tilePixelWidth, 64.0);
    EXPECT_EQ(world->tilePixelHeight, 64.0);
    EXPECT_EQ(world->viewOffsetX, 384);
    EXPECT_EQ(world->viewOffsetY, 320);
    EXPECT_TRUE(world->entities.empty());
    EXPECT_TRUE(world->bullets.empty());
}

TEST_F(WorldUpdateTest, cameraOffsetsTruncateTowardZero) {
    auto world = makeWorld({"...."});
    world->zoom = 0.2;
    world->cameraX = 20.0;
    world->cameraY = 12.0;
    world->update();
    EXPECT_DOUBLE_EQ(world->tilePixelWidth, 25.6);
    EXPECT_DOUBLE_EQ(world->tilePixelHeight, 25.6);
    EXPECT_EQ(world->viewOffsetX, 0);
    EXPECT_EQ(world->viewOffsetY, 76);

    world->zoom = 1.0;
    world->cameraX = 0.0;
    world->cameraY = 0.0;
    world->update();
    EXPECT_EQ(world->viewOffsetX, 512);
    EXPECT_EQ(world->viewOffsetY, 384);

    // A negative offset truncates toward zero: 512 - 550.4 is -38.4.
    world->cameraX = 4.3;
    world->update();
    EXPECT_EQ(world->viewOffsetX, -38);
}

TEST_F(WorldUpdateTest, bulletFiredDuringTheTurnsMovesInTheSameUpdate) {
    auto world = makeWorld({"r.....b"});
    Entity& red = *world->entities[0];
    red.target = world->entities[1];
    red.state = EntityState::Fight;
    ResourceCatalogue::instance()->viewMode = ViewMode::Blue;  // blue waits, holding its fire
    setSimulatedClock(5001);

    world->update();

    ASSERT_EQ(world->bullets.size(), 1u);
    const Bullet& bullet = *world->bullets[0];
    EXPECT_EQ(bullet.originX, 1.0);
    EXPECT_DOUBLE_EQ(bullet.x, 1.2);
    EXPECT_TRUE(bullet.active);
}

TEST_F(WorldUpdateTest, soldierKilledByABulletIsListedUntilTheNextUpdate) {
    auto world = makeWorld({"rb"});
    Entity& blue = *world->entities[1];
    blue.health = 1;
    world->addBullet(
        spawnBullet(*world->entities[0]->secondaryWeapon, &blue, 1.0, 0.5, 1.5, 0.5, 0.5));

    world->update();
    EXPECT_EQ(blue.state, EntityState::Dead);
    EXPECT_EQ(world->entities.size(), 2u);

    world->update();
    EXPECT_EQ(world->entities.size(), 1u);
}

}  // namespace
