#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "StateLine.h"
#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "support/TestWorld.h"
#include "world/Bullet.h"
#include "world/GameClock.h"
#include "world/World.h"

namespace {

TEST(StateLine, doublesRoundTripAndNonFiniteValuesPrintAsNull) {
    EXPECT_EQ(formatDouble(3.0), "3");
    EXPECT_EQ(formatDouble(-1.0), "-1");
    EXPECT_EQ(formatDouble(0.1), "0.10000000000000001");
    EXPECT_EQ(formatDouble(1.2000000000000002), "1.2000000000000002");
    EXPECT_EQ(std::stod(formatDouble(1.0 / 3.0)), 1.0 / 3.0);
    EXPECT_EQ(formatDouble(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(formatDouble(-std::numeric_limits<double>::infinity()), "null");
}

TEST(StateLine, describesEverySoldierAndBulletInOrder) {
    setSimulatedClock(0);
    auto world = makeWorld({"r.", "ob"});
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[1];
    red.target = &blue;
    red.goalX = 1.0;
    red.goalY = 0.0;
    red.state = EntityState::Fight;
    red.action = EntityAction::Attack;
    red.currentWeapon = red.primaryWeapon.get();
    red.primaryWeapon->rounds = 3;
    red.spareRounds[1] = 7;
    blue.health = 55;
    world->addBullet(spawnBullet(*red.primaryWeapon, &blue, 0.5, 1.0, 1.5, 1.5, 0.1));
    world->bullets[0]->active = false;

    EXPECT_EQ(stateLine(*world, 12, 192, false),
              "{\"step\": 12, \"time\": 192, \"entities\": ["
              "{\"id\": 0, \"team\": 0, \"x\": 0, \"y\": 0, \"health\": 100, \"state\": 5, "
              "\"action\": 0, \"goal\": [1, 0], \"target\": 1, \"weapon\": 1, "
              "\"rounds\": [3, 1], \"spare\": [5, 7, 2], \"listed\": true}, "
              "{\"id\": 1, \"team\": 1, \"x\": 1, \"y\": 1, \"health\": 55, \"state\": 6, "
              "\"action\": 3, \"goal\": [-1, -1], \"target\": -1, \"weapon\": 2, "
              "\"rounds\": [4, 1], \"spare\": [5, 10, 2], \"listed\": true}], "
              "\"bullets\": [{\"x\": 0.5, \"y\": 1, \"active\": false, \"kind\": 1}]}");
}

TEST(StateLine, droppedSoldiersStayListedAsNotListedAndKeepTheirIds) {
    setSimulatedClock(0);
    auto world = makeWorld({"rbr"});
    Entity& blue = *world->entities[1];
    world->entities[2]->target = &blue;
    blue.kill();
    world->entities.erase(world->entities.begin() + 1);

    const std::string line = stateLine(*world, 1, 16, false);

    EXPECT_NE(line.find("{\"id\": 1, \"team\": 1, \"x\": 1, \"y\": 0, \"health\": 0, \"state\": 7"),
              std::string::npos);
    EXPECT_NE(line.find("\"spare\": [5, 10, 2], \"listed\": false}"), std::string::npos);
    EXPECT_NE(line.find("{\"id\": 2, \"team\": 0"), std::string::npos);
    EXPECT_NE(line.find("\"target\": 1"), std::string::npos);
}

TEST(StateLine, finalLineAddsBothTeamsKnownTilesRowByRow) {
    auto world = makeWorld({"...", "..."});
    world->redKnownTiles[2][0] = TileKind::Obstacle;
    world->redKnownTiles[0][1] = TileKind::BaseTile;
    world->blueKnownTiles[1][1] = TileKind::BaseTile;

    EXPECT_EQ(stateLine(*world, 0, 0, true),
              "{\"step\": 0, \"time\": 0, \"entities\": [], \"bullets\": [], "
              "\"red_known\": [\"002\", \"100\"], \"blue_known\": [\"000\", \"010\"]}");
}

}  // namespace
