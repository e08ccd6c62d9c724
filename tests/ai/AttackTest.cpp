#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "support/TestWorld.h"
#include "world/Bullet.h"
#include "world/GameClock.h"
#include "world/World.h"

namespace {

constexpr int32_t kNow = 100000;
constexpr int32_t kLongAgo = 1000000;  // more than any interval

class AttackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResourceCatalogue::instance()->viewMode = ViewMode::All;
        setSimulatedClock(kNow);
    }
    void TearDown() override { ResourceCatalogue::instance()->viewMode = ViewMode::Red; }

    // The shooter is the first soldier, aiming at `target` with every interval long passed.
    static Entity& readyShooter(World& world, Entity& target) {
        Entity& shooter = *world.entities[0];
        shooter.target = &target;
        shooter.state = EntityState::Fight;
        shooter.sinceShot = kLongAgo;
        shooter.sinceReload = kLongAgo;
        return shooter;
    }

    static void holdShotgun(Entity& shooter) {
        shooter.currentWeapon = shooter.primaryWeapon.get();
    }
};

TEST_F(AttackTest, shotAtTheRightNeighbourLeavesFromTheSharedEdge) {
    auto world = makeWorld({"......", "..rb..", "......"});
    Entity& shooter = readyShooter(*world, *world->entities[1]);

    shooter.attack();

    EXPECT_EQ(shooter.aimX, 3.5);
    EXPECT_EQ(shooter.aimY, 1.5);
    ASSERT_EQ(world->bullets.size(), 1u);
    const Bullet& bullet = *world->bullets[0];
    EXPECT_EQ(bullet.originX, 3.0);
    EXPECT_EQ(bullet.originY, 1.5);
    EXPECT_EQ(bullet.aimDistance, 0.5);
    EXPECT_EQ(bullet.kind, GunKind::Rifle);
    EXPECT_EQ(shooter.secondaryWeapon->rounds, 0);
    EXPECT_EQ(shooter.lastShotTime, kNow);
    EXPECT_FALSE(shooter.weaponReady);
    ASSERT_EQ(shooter.firedBullets.size(), 1u);
    EXPECT_EQ(shooter.firedBullets[0], &bullet);
}

TEST_F(AttackTest, shotAlongTheRowToTheLeftLeavesFromTheLeftEdgeCentre) {
    auto world = makeWorld({"b.......r"});
    Entity& shooter = *world->entities[1];
    shooter.target = world->entities[0];
    shooter.sinceShot = kLongAgo;

    shooter.attack();

    ASSERT_EQ(world->bullets.size(), 1u);
    EXPECT_EQ(world->bullets[0]->originX, 8.0);
    EXPECT_EQ(world->bullets[0]->originY, 0.5);
    EXPECT_EQ(world->bullets[0]->aimDistance, 7.5);
}

TEST_F(AttackTest, targetOnTheOwnTileIsShotFromTheTileCentre) {
    auto world = makeWorld({"r..", "..b"});
    Entity& blue = *world->entities[1];
    Entity& shooter = readyShooter(*world, blue);
    blue.x = shooter.x;
    blue.y = shooter.y;

    shooter.attack();

    ASSERT_EQ(world->bullets.size(), 1u);
    EXPECT_EQ(world->bullets[0]->originX, 0.5);
    EXPECT_EQ(world->bullets[0]->originY, 0.5);
    EXPECT_EQ(world->bullets[0]->aimDistance, 0.0);
}

TEST_F(AttackTest, shotgunFiresOnlyOnceMoreThanItsIntervalHasPassed) {
    auto world = makeWorld({"r.b"});
    Entity& shooter = readyShooter(*world, *world->entities[1]);
    holdShotgun(shooter);

    shooter.sinceShot = 3000;
    shooter.attack();
    EXPECT_TRUE(world->bullets.empty());
    EXPECT_EQ(shooter.primaryWeapon->rounds, 4);

    shooter.sinceShot = 3001;
    shooter.attack();
    EXPECT_EQ(world->bullets.size(), 5u);
    EXPECT_EQ(shooter.primaryWeapon->rounds, 3);
}

TEST_F(AttackTest, shotgunVolleyIsFivePelletsForOneRoundSpreadWithinHalfATile) {
    auto world = makeWorld({"r..b"});
    Entity& shooter = readyShooter(*world, *world->entities[1]);
    holdShotgun(shooter);
    const Weapon& gun = *shooter.primaryWeapon;

    // Replays the draws: the first of each pair spreads y, the second x.
    std::srand(77);
    int draws[10];
    for (int& draw : draws) {
        draw = std::rand() % 32768;
    }
    std::srand(77);
    shooter.attack();

    ASSERT_EQ(world->bullets.size(), 5u);
    EXPECT_EQ(shooter.firedBullets.size(), 5u);
    EXPECT_EQ(gun.rounds, 3);
    EXPECT_EQ(shooter.lastShotTime, kNow);
    const double centreX = 3.5;
    const double centreY = 0.5;
    for (int pellet = 0; pellet < 5; ++pellet) {
        const double aimX = centreX + draws[2 * pellet + 1] / 32768.0 - 0.5;
        const double aimY = centreY + draws[2 * pellet] / 32768.0 - 0.5;
        EXPECT_LE(std::abs(aimX - centreX), 0.5);
        EXPECT_LE(std::abs(aimY - centreY), 0.5);
        const auto expected = spawnBullet(gun, world->entities[1], 1.0, 0.5, aimX, aimY, 2.5);
        const Bullet& fired = *world->bullets[pellet];
        EXPECT_EQ(fired.velocityX, expected->velocityX) << "pellet " << pellet;
        EXPECT_EQ(fired.velocityY, expected->velocityY) << "pellet " << pellet;
        EXPECT_EQ(fired.kind, GunKind::Shotgun);
    }
}

TEST_F(AttackTest, rifleFiresThreeTimesReloadingInBetweenThenSwitchesToTheShotgun) {
    auto world = makeWorld({"r.b"});
    Entity& shooter = readyShooter(*world, *world->entities[1]);
    const Weapon* rifle = shooter.secondaryWeapon.get();
    int shots = 0;
    // One attack step per call; the intervals are all long passed unless said otherwise.
    auto step = [&] {
        const std::size_t before = world->bullets.size();
        shooter.attack();
        shots += world->bullets.size() > before ? 1 : 0;
    };

    step();
    EXPECT_EQ(shots, 1);
    EXPECT_EQ(rifle->rounds, 0);

    // The empty magazine waits for more than 2000 ms since the last reload.
    shooter.lastReloadTime = 5;
    shooter.sinceReload = 2000;
    step();
    EXPECT_EQ(rifle->rounds, 0);
    EXPECT_EQ(shooter.lastReloadTime, 5);
    EXPECT_EQ(shooter.spareRounds[GunKind::Rifle], 2);

    shooter.sinceReload = 2001;
    step();
    EXPECT_EQ(rifle->rounds, 1);
    EXPECT_EQ(shooter.spareRounds[GunKind::Rifle], 1);
    EXPECT_EQ(shooter.lastReloadTime, kNow);
    EXPECT_EQ(shots, 1);

    step();
    step();
    step();
    EXPECT_EQ(shots, 3);
    EXPECT_EQ(shooter.spareRounds[GunKind::Rifle], 0);
    EXPECT_EQ(shooter.currentWeapon, rifle);

    step();
    EXPECT_EQ(shooter.currentWeapon, shooter.primaryWeapon.get());
    EXPECT_EQ(shooter.spareRounds[GunKind::Rifle], 0);
    EXPECT_EQ(shots, 3);
}

TEST_F(AttackTest, emptyShotgunRefillsFromItsSparesAndCountsWhatIsNowLoaded) {
    auto world = makeWorld({"r.b"});
    Entity& shooter = readyShooter(*world, *world->entities[1]);
    holdShotgun(shooter);
    shooter.primaryWeapon->rounds = 0;

    shooter.attack();

    EXPECT_EQ(shooter.primaryWeapon->rounds, 4);
    EXPECT_EQ(shooter.spareRounds[GunKind::Shotgun], 6);
    EXPECT_TRUE(world->bullets.empty());
}

TEST_F(AttackTest, withEverythingEmptyTheSoldierOnlySwitchesGuns) {
    auto world = makeWorld({"r.b"});
    Entity& shooter = readyShooter(*world, *world->entities[1]);
    shooter.primaryWeapon->rounds = 0;
    shooter.secondaryWeapon->rounds = 0;
    shooter.spareRounds[GunKind::Shotgun] = 0;
    shooter.spareRounds[GunKind::Rifle] = 0;

    shooter.attack();
    EXPECT_EQ(shooter.currentWeapon, shooter.primaryWeapon.get());
    shooter.attack();
    EXPECT_EQ(shooter.currentWeapon, shooter.secondaryWeapon.get());
    EXPECT_TRUE(world->bullets.empty());
}

TEST_F(AttackTest, gunNotDueDoesNothingElseNotEvenAReload) {
    auto world = makeWorld({"r.b"});
    Entity& shooter = readyShooter(*world, *world->entities[1]);
    shooter.secondaryWeapon->rounds = 0;
    shooter.sinceShot = 5000;

    shooter.attack();

    EXPECT_EQ(shooter.secondaryWeapon->rounds, 0);
    EXPECT_EQ(shooter.spareRounds[GunKind::Rifle], 2);
    EXPECT_EQ(shooter.aimX, 2.0);  // the aim is still taken, at the tile corner
    EXPECT_EQ(shooter.aimY, 0.0);
}

TEST_F(AttackTest, deadOrMissingTargetSendsTheSoldierIdle) {
    auto world = makeWorld({"r.b"});
    Entity& blue = *world->entities[1];
    Entity& shooter = readyShooter(*world, blue);
    blue.kill();

    shooter.attack();
    EXPECT_EQ(shooter.state, EntityState::Idle);
    EXPECT_EQ(shooter.action, EntityAction::Continue);

    shooter.state = EntityState::Fight;
    shooter.target = nullptr;
    shooter.attack();
    EXPECT_EQ(shooter.state, EntityState::Idle);
    EXPECT_TRUE(world->bullets.empty());
}

TEST_F(AttackTest, teammateInTheLineOfFireAliveOrDeadSendsTheShooterToAFiringPosition) {
    for (const bool mateDead : {false, true}) {
        auto world = makeWorld({"......", "rrb...", "......"});
        Entity& mate = *world->entities[1];
        if (mateDead) {
            mate.kill();
        }
        Entity& shooter = readyShooter(*world, *world->entities[2]);
        world->redKnownTiles.fill(TileKind::BaseTile);

        shooter.attack();

        EXPECT_TRUE(world->bullets.empty()) << "dead mate: " << mateDead;
        EXPECT_EQ(shooter.secondaryWeapon->rounds, 1);
        EXPECT_EQ(shooter.state, EntityState::Reposition);
        EXPECT_EQ(shooter.rallyX, 0.0);
        EXPECT_EQ(shooter.rallyY, 0.0);
    }
}

TEST_F(AttackTest, blockedShotWithNoKnownFiringPositionGoesIdle) {
    auto world = makeWorld({"rrb"});
    Entity& shooter = readyShooter(*world, *world->entities[2]);

    shooter.attack();

    EXPECT_TRUE(world->bullets.empty());
    EXPECT_EQ(shooter.state, EntityState::Idle);
    EXPECT_EQ(shooter.action, EntityAction::Continue);
}

TEST_F(AttackTest, shotgunOutOfRangeDoesNotFire) {
    auto world = makeWorld({"r...b"});
    Entity& shooter = readyShooter(*world, *world->entities[1]);
    holdShotgun(shooter);

    shooter.attack();

    // From the edge (1.0, 0.5) to the centre (4.5, 0.5) is 3.5 tiles, beyond the range of 3.
    EXPECT_TRUE(world->bullets.empty());
    EXPECT_EQ(shooter.primaryWeapon->rounds, 4);
}

TEST_F(AttackTest, gunOfUnknownKindReportsAndReturnsToPursuit) {
    auto world = makeWorld({"r.b"});
    Entity& shooter = readyShooter(*world, *world->entities[1]);
    shooter.secondaryWeapon->rounds = 0;
    shooter.secondaryWeapon->kind = 7;
    const int32_t lastReload = shooter.lastReloadTime;

    testing::internal::CaptureStdout();
    shooter.attack();
    const std::string printed = testing::internal::GetCapturedStdout();

    EXPECT_EQ(printed,
              "something is broke, we returned a type of gun that doesnt exist in attacking "
              "state\n");
    EXPECT_EQ(shooter.state, EntityState::Pursue);
    EXPECT_EQ(shooter.lastReloadTime, lastReload);
    EXPECT_EQ(shooter.secondaryWeapon->rounds, 0);
}

TEST_F(AttackTest, switchingGunsGoesBetweenTheTwoByKind) {
    auto world = makeWorld({"r"});
    Entity& soldier = *world->entities[0];

    soldier.reloadOrSwitch(0);
    EXPECT_EQ(soldier.currentWeapon, soldier.primaryWeapon.get());
    soldier.reloadOrSwitch(-3);
    EXPECT_EQ(soldier.currentWeapon, soldier.secondaryWeapon.get());

    soldier.secondaryWeapon->rounds = 0;
    soldier.reloadOrSwitch(2);
    EXPECT_EQ(soldier.currentWeapon, soldier.secondaryWeapon.get());
    EXPECT_EQ(soldier.secondaryWeapon->rounds, 1);
}

}  // namespace
