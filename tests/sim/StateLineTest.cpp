#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "support/TestWorld.h"
#include "world/Bullet.h"
#include "world/StateLine.h"
#include "world/World.h"

namespace {

TEST(StateLine, doublesRoundTripAndNonFiniteOnesPrintAsNull) {
    EXPECT_EQ(formatDouble(3.0), "3");
    EXPECT_EQ(formatDouble(0.1), "0.10000000000000001");
    EXPECT_EQ(formatDouble(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(formatDouble(-std::numeric_limits<double>::infinity()), "null");
}

TEST(StateLine, listsTheWholeRosterTheBulletsAndOnRequestTheKnownTiles) {
    setSimulatedClock(0);
    auto world = makeWorld({"rbr", "..."});
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[1];
    red.target = &blue;
    red.currentWeapon = red.primaryWeapon.get();
    red.primaryWeapon->rounds = 3;
    red.spareRounds[1] = 7;
    blue.kill();
    world->entities.erase(world->entities.begin() + 1);  // dropped, as the World step does
    world->addBullet(spawnBullet(*red.primaryWeapon, &blue, 0.5, 1.0, 1.5, 1.5, 0.1));
    world->redKnownTiles[2][0] = TileKind::Obstacle;
    world->blueKnownTiles[1][1] = TileKind::BaseTile;

    EXPECT_EQ(stateLine(*world, 12, 192, true),
              "{\"step\": 12, \"time\": 192, \"entities\": ["
              "{\"id\": 0, \"team\": 0, \"x\": 0, \"y\": 0, \"health\": 100, \"state\": 6, "
              "\"action\": 3, \"goal\": [-1, -1], \"target\": 1, \"weapon\": 1, "
              "\"rounds\": [3, 1], \"spare\": [5, 7, 2], \"listed\": true}, "
              "{\"id\": 1, \"team\": 1, \"x\": 1, \"y\": 0, \"health\": 0, \"state\": 7, "
              "\"action\": 3, \"goal\": [-1, -1], \"target\": -1, \"weapon\": 2, "
              "\"rounds\": [4, 1], \"spare\": [5, 10, 2], \"listed\": false}, "
              "{\"id\": 2, \"team\": 0, \"x\": 2, \"y\": 0, \"health\": 100, \"state\": 6, "
              "\"action\": 3, \"goal\": [-1, -1], \"target\": -1, \"weapon\": 2, "
              "\"rounds\": [4, 1], \"spare\": [5, 10, 2], \"listed\": true}], "
              "\"bullets\": [{\"x\": 0.5, \"y\": 1, \"active\": true, \"kind\": 1}], "
              "\"red_known\": [\"002\", \"000\"], \"blue_known\": [\"000\", \"010\"]}");
}

}  // namespace
