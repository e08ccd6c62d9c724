#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "gfx/ResourceCatalogue.h"
#include "support/TestWorld.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

constexpr int32_t kNow = 100000;
constexpr int32_t kLongAgo = 1000000;  // more than any interval

class AttackTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Bullets take their picture from the catalogue, whose creation seeds gameRand() with
        // the time: created first, so that the seeds the tests set stand.
        ResourceCatalogue::instance();
        setSimulatedClock(kNow);
    }

    // `shooter` aims at `target` with every interval long passed.
    static Entity& ready(Entity& shooter, Entity& target) {
        shooter.target = &target;
        shooter.sinceShot = kLongAgo;
        shooter.sinceReload = kLongAgo;
        return shooter;
    }
};

TEST_F(AttackTest, shotAtTheRightNeighbourLeavesFromTheSharedEdge) {
    auto world = autonomousWorld({"........rb"});
    Entity& shooter = ready(*world->entities[0], *world->entities[1]);
    shooter.attack();
    EXPECT_EQ(shooter.aimX, 9.5);
    EXPECT_EQ(shooter.aimY, 0.5);
    ASSERT_EQ(world->bullets.size(), 1u);
    EXPECT_EQ(world->bullets[0]->originX, 9.0);
    EXPECT_EQ(world->bullets[0]->originY, 0.5);
    EXPECT_EQ(world->bullets[0]->aimDistance, 0.5);
    EXPECT_EQ(shooter.lastShotTime, kNow);
    EXPECT_EQ(shooter.secondaryWeapon->rounds, 0);
}

TEST_F(AttackTest, shotgunVolleyNeedsMoreThanItsIntervalAndSpendsOneRoundOnFivePellets) {
    auto world = autonomousWorld({"r..b"});
    Entity& shooter = ready(*world->entities[0], *world->entities[1]);
    shooter.currentWeapon = shooter.primaryWeapon.get();
    shooter.sinceShot = 3000;
    shooter.attack();
    EXPECT_TRUE(world->bullets.empty());

    // The first draw of each pair spreads y, the second x.
    seedGameRand(77);
    int draws[10];
    for (int& draw : draws) {
        draw = gameRand() % 32768;
    }
    seedGameRand(77);
    shooter.sinceShot = 3001;
    shooter.attack();

    ASSERT_EQ(world->bullets.size(), 5u);
    EXPECT_EQ(shooter.primaryWeapon->rounds, 3);
    for (int pellet = 0; pellet < 5; ++pellet) {
        const double aimX = 3.5 + draws[2 * pellet + 1] / 32768.0 - 0.5;
        const double aimY = 0.5 + draws[2 * pellet] / 32768.0 - 0.5;
        EXPECT_LE(std::abs(aimX - 3.5), 0.5);
        EXPECT_LE(std::abs(aimY - 0.5), 0.5);
        const auto expected =
            spawnBullet(*shooter.primaryWeapon, world->entities[1], 1.0, 0.5, aimX, aimY, 2.5);
        EXPECT_EQ(world->bullets[pellet]->velocityX, expected->velocityX);
        EXPECT_EQ(world->bullets[pellet]->velocityY, expected->velocityY);
    }
}

TEST_F(AttackTest, rifleReloadsTwiceAfterMoreThanItsReloadIntervalThenSwitchesToTheShotgun) {
    auto world = autonomousWorld({"r.b"});
    Entity& shooter = ready(*world->entities[0], *world->entities[1]);
    const Weapon* rifle = shooter.secondaryWeapon.get();
    shooter.attack();
    EXPECT_EQ(world->bullets.size(), 1u);

    shooter.sinceReload = 2000;
    shooter.attack();
    EXPECT_EQ(rifle->rounds, 0);
    shooter.sinceReload = 2001;
    shooter.attack();
    EXPECT_EQ(rifle->rounds, 1);
    EXPECT_EQ(shooter.spareRounds[GunKind::Rifle], 1);
    EXPECT_EQ(shooter.lastReloadTime, kNow);

    for (int step = 0; step < 3; ++step) {
        shooter.attack();  // fire, reload the last spare, fire
    }
    EXPECT_EQ(world->bullets.size(), 3u);
    EXPECT_EQ(shooter.spareRounds[GunKind::Rifle], 0);
    shooter.attack();
    EXPECT_EQ(shooter.currentWeapon, shooter.primaryWeapon.get());
    EXPECT_EQ(world->bullets.size(), 3u);

    // An empty shotgun refills from its spares, which lose what is now loaded.
    shooter.primaryWeapon->rounds = 0;
    shooter.sinceReload = 3001;
    shooter.attack();
    EXPECT_EQ(shooter.primaryWeapon->rounds, 4);
    EXPECT_EQ(shooter.spareRounds[GunKind::Shotgun], 6);
}

TEST_F(AttackTest, teammateInTheLineOfFireAliveOrDeadSendsTheShooterToAFiringPosition) {
    for (const bool mateDead : {false, true}) {
        auto world = autonomousWorld({"......", "rrb...", "......"});
        if (mateDead) {
            world->entities[1]->kill();
        }
        Entity& shooter = ready(*world->entities[0], *world->entities[2]);
        world->redKnownTiles.fill(TileKind::BaseTile);

        shooter.attack();

        EXPECT_TRUE(world->bullets.empty());
        EXPECT_EQ(shooter.state, EntityState::Reposition);
        EXPECT_EQ(shooter.rallyX, 0.0);
        EXPECT_EQ(shooter.rallyY, 0.0);
    }
}

TEST_F(AttackTest, gunOfUnknownKindReportsAndReturnsToPursuit) {
    auto world = autonomousWorld({"r.b"});
    Entity& shooter = ready(*world->entities[0], *world->entities[1]);
    shooter.secondaryWeapon->rounds = 0;
    shooter.secondaryWeapon->kind = 7;

    testing::internal::CaptureStdout();
    shooter.attack();

    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "something is broke, we returned a type of gun that doesnt exist in attacking "
              "state\n");
    EXPECT_EQ(shooter.state, EntityState::Pursue);
    EXPECT_EQ(shooter.lastReloadTime, 0);
}

}  // namespace
