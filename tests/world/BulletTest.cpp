#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ai/Entity.h"
#include "ai/Weapon.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/TextureSlots.h"
#include "support/TestWorld.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

// A rifle (damage 20, range 12) carried by the first soldier of the world.
std::unique_ptr<Bullet> rifleShot(World& world, double fromX, double fromY, double toX,
                                  double toY) {
    Entity* shooter = world.entities.front();
    return spawnBullet(*shooter->secondaryWeapon, nullptr, fromX, fromY, toX, toY, 0.0);
}

// One world step for the bullets, as the World's update does it.
void stepBullets(World& world) {
    moveBullets(world);
    resolveBulletHits(world);
}

TEST(Bullet, velocityCoversOneFifthOfATileAlongTheAxes) {
    auto world = makeWorld({"r......."});
    auto along = rifleShot(*world, 3.0, 5.5, 7.5, 5.5);
    EXPECT_DOUBLE_EQ(along->velocityX, 0.2);
    EXPECT_EQ(along->velocityY, 0.0);

    auto diagonal = rifleShot(*world, 2.0, 2.0, 5.0, 5.0);
    EXPECT_DOUBLE_EQ(diagonal->velocityX, 0.1);
    EXPECT_DOUBLE_EQ(diagonal->velocityY, 0.1);

    auto upAndLeft = rifleShot(*world, 5.0, 5.0, 2.0, 4.0);
    EXPECT_DOUBLE_EQ(upAndLeft->velocityX, -0.15);
    EXPECT_DOUBLE_EQ(upAndLeft->velocityY, -0.05);
}

TEST(Bullet, spawnTakesItsFiguresFromTheGunAndItsPictureFromTheKind) {
    auto world = makeWorld({"rb"});
    Entity& shooter = *world->entities[0];
    Entity* target = world->entities[1];
    const ResourceCatalogue& catalogue = *ResourceCatalogue::instance();

    auto pellet = spawnBullet(*shooter.primaryWeapon, target, 0.5, 0.5, 1.5, 0.5, 1.0);
    EXPECT_EQ(pellet->damage, 3.0);
    EXPECT_EQ(pellet->range, 3.0);
    EXPECT_EQ(pellet->kind, GunKind::Shotgun);
    EXPECT_EQ(pellet->owner, &shooter);
    EXPECT_EQ(pellet->target, target);
    EXPECT_EQ(pellet->aimDistance, 1.0);
    EXPECT_EQ(pellet->texture, catalogue.texture(slot::BulletShotgun));
    EXPECT_TRUE(pellet->active);

    auto rifle = spawnBullet(*shooter.secondaryWeapon, target, 0.5, 0.5, 1.5, 0.5, 1.0);
    EXPECT_EQ(rifle->texture, catalogue.texture(slot::BulletYellow));

    Weapon standard = *shooter.secondaryWeapon;
    standard.kind = GunKind::Standard;
    auto plain = spawnBullet(standard, target, 0.5, 0.5, 1.5, 0.5, 1.0);
    EXPECT_EQ(plain->texture, catalogue.texture(slot::BulletOrange));
    EXPECT_NE(plain->texture, nullptr);
}

TEST(Bullet, travelsAboutFourTilesInTwentySteps) {
    auto world = makeWorld({"r.........", "..........", "..........", "..........", "..........",
                            "..........", ".........."});
    world->addBullet(rifleShot(*world, 3.0, 5.5, 7.5, 5.5));
    for (int step = 0; step < 20; ++step) {
        stepBullets(*world);
    }
    const Bullet& bullet = *world->bullets.front();
    EXPECT_NEAR(bullet.x, 7.0, 1e-9);
    EXPECT_NEAR(bullet.travelled, 4.0, 1e-9);
    EXPECT_TRUE(bullet.active);
}

TEST(Bullet, isSpentOnReachingItsRange) {
    auto world = makeWorld({"r"});
    auto pellet =
        spawnBullet(*world->entities[0]->primaryWeapon, nullptr, 0.0, 0.0, 10.0, 0.0, 0.0);
    pellet->range = 2.9;
    const Bullet& bullet = *pellet;
    world->addBullet(std::move(pellet));
    for (int step = 0; step < 14; ++step) {
        moveBullets(*world);
    }
    EXPECT_TRUE(bullet.active);
    moveBullets(*world);
    EXPECT_FALSE(bullet.active);
    EXPECT_FALSE(bullet.hit);
}

TEST(Bullet, positionOnTheGridEdgeIsOutOfBounds) {
    auto world = makeWorld({"r...", "...."});
    auto bullet = rifleShot(*world, 0.2, 1.5, -3.0, 1.5);
    world->addBullet(std::move(bullet));
    stepBullets(*world);  // lands exactly on x = 0.0

    const Bullet& spent = *world->bullets.front();
    EXPECT_EQ(spent.x, 0.0);
    EXPECT_FALSE(spent.active);
    EXPECT_FALSE(spent.hit);
}

TEST(Bullet, wallStopsItWithoutAHit) {
    auto world = makeWorld({"r.ob"});
    world->addBullet(rifleShot(*world, 1.9, 0.5, 3.5, 0.5));
    stepBullets(*world);

    EXPECT_FALSE(world->bullets.front()->active);
    EXPECT_FALSE(world->bullets.front()->hit);
}

TEST(Bullet, wallShieldsASoldierStandingInIt) {
    auto world = makeWorld({"r.b."});
    world->toggleTile(2, 0);
    world->addBullet(rifleShot(*world, 1.9, 0.5, 3.5, 0.5));
    stepBullets(*world);

    EXPECT_EQ(world->entities[1]->health, 100);
    EXPECT_FALSE(world->bullets.front()->hit);
}

TEST(Bullet, bodyWithoutALivingVictimStopsItWithoutDamage) {
    auto world = makeWorld({"r.b."});
    Entity& body = *world->entities[1];
    body.kill();
    world->addBullet(rifleShot(*world, 1.9, 0.5, 3.5, 0.5));
    stepBullets(*world);

    const Bullet& bullet = *world->bullets.front();
    EXPECT_FALSE(bullet.active);
    EXPECT_TRUE(bullet.hit);
    EXPECT_EQ(body.health, 0);
    EXPECT_EQ(bullet.damage, 20.0);  // fall-off applies, but at this range it leaves all of it
}

TEST(Bullet, onlyTheLaterOfTwoLivingSoldiersOnATileIsHurt) {
    auto world = makeWorld({"r..."});
    world->addEntity(Team::Blue, 2, 0);
    world->addEntity(Team::Red, 2, 0);
    world->addBullet(rifleShot(*world, 1.9, 0.5, 3.5, 0.5));
    stepBullets(*world);

    EXPECT_EQ(world->entities[1]->health, 100);
    EXPECT_EQ(world->entities[2]->health, 80);
}

TEST(Bullet, falloffKeepsFullDamageToHalfRangePlusOneThenFalls) {
    Bullet rifle;
    rifle.damage = 20.0;
    rifle.applyFalloff(12.0, 5.0);
    EXPECT_EQ(rifle.damage, 20.0);
    rifle.applyFalloff(12.0, 7.0);
    EXPECT_EQ(rifle.damage, 20.0);

    rifle.applyFalloff(12.0, 9.0);
    EXPECT_NEAR(rifle.damage, 13.333, 0.001);

    Bullet pellet;
    pellet.damage = 3.0;
    pellet.applyFalloff(3.0, 2.999);
    EXPECT_NEAR(pellet.damage, 2.0, 0.01);
}

TEST(Bullet, farHitDealsWholePointsOfTheReducedDamage) {
    auto world = makeWorld({"r...........b", "r...........b"});
    Entity& survivor = *world->entities[1];
    Entity& victim = *world->entities[3];
    victim.health = 13;

    for (const int row : {0, 1}) {
        auto bullet = rifleShot(*world, 3.0, row + 0.5, 13.0, row + 0.5);
        bullet->x = 12.0;
        bullet->travelled = 9.0;
        world->addBullet(std::move(bullet));
    }
    resolveBulletHits(*world);

    EXPECT_EQ(survivor.health, 87);
    EXPECT_EQ(victim.health, 0);
    EXPECT_EQ(victim.state, EntityState::Dead);
}

TEST(Bullet, spentBulletsLeaveOnePerStepLastFirstAndKeepMoving) {
    auto world = makeWorld({"r........."});
    for (int i = 0; i < 4; ++i) {
        world->addBullet(rifleShot(*world, 5.0, 0.5, 9.0, 0.5));
    }
    const Bullet* flying = world->bullets[0].get();
    const Bullet* firstSpent = world->bullets[1].get();
    const Bullet* secondSpent = world->bullets[2].get();
    for (int i = 1; i < 4; ++i) {
        world->bullets[i]->active = false;
    }

    moveBullets(*world);
    ASSERT_EQ(world->bullets.size(), 3u);
    EXPECT_EQ(world->bullets[2].get(), secondSpent);
    EXPECT_NEAR(secondSpent->x, 5.2, 1e-12);  // spent, still flying

    moveBullets(*world);
    ASSERT_EQ(world->bullets.size(), 2u);
    EXPECT_EQ(world->bullets[1].get(), firstSpent);

    moveBullets(*world);
    moveBullets(*world);
    ASSERT_EQ(world->bullets.size(), 1u);
    EXPECT_EQ(world->bullets[0].get(), flying);
}

TEST(Bullet, aimedAtItsOwnFiringPointItIsSpentHarmlessly) {
    auto world = makeWorld({"rb.."});
    Entity& bystander = *world->entities[1];
    world->addBullet(rifleShot(*world, 1.5, 0.5, 1.5, 0.5));
    const Bullet& bullet = *world->bullets.front();
    EXPECT_EQ(bullet.velocityX, 0.0);
    EXPECT_EQ(bullet.velocityY, 0.0);

    stepBullets(*world);
    EXPECT_EQ(bullet.x, 1.5);
    EXPECT_EQ(bullet.y, 0.5);
    EXPECT_FALSE(bullet.active);
    EXPECT_FALSE(bullet.hit);
    EXPECT_EQ(bystander.health, 100);

    moveBullets(*world);
    EXPECT_TRUE(world->bullets.empty());
}

TEST(Bullet, wildPositionsAndDamageNeverReachTheGrid) {
    auto world = makeWorld({"rb"});
    world->addBullet(rifleShot(*world, NAN, 0.5, 1.5, 0.5));
    world->addBullet(rifleShot(*world, 0.5, 0.5, INFINITY, 0.5));
    auto huge = rifleShot(*world, 1.5, 0.5, 1.9, 0.5);
    huge->damage = 1e300;
    huge->range = 1e300;
    world->addBullet(std::move(huge));
    stepBullets(*world);

    EXPECT_FALSE(world->bullets[0]->active);
    EXPECT_FALSE(world->bullets[1]->active);
    EXPECT_EQ(world->entities[1]->state, EntityState::Dead);
}

}  // namespace
