#include <gtest/gtest.h>

#include <memory>

#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/TextureSlots.h"
#include "support/TestWorld.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

// A rifle shot (damage 20, range 12) by the world's first soldier, handed to the World and
// remembered by the soldier, as the attack step does.
Bullet& fireRifle(World& world, double fromX, double fromY, double toX, double toY) {
    Entity& shooter = *world.entities.front();
    world.addBullet(spawnBullet(*shooter.secondaryWeapon, nullptr, fromX, fromY, toX, toY, 0.0));
    shooter.firedBullets.push_back(world.bullets.back().get());
    return *world.bullets.back();
}

void stepBullets(World& world) {
    moveBullets(world);
    resolveBulletHits(world);
}

TEST(Bullet, movesOneFifthOfATileAlongTheAxesWithThePictureOfItsKind) {
    auto world =
        makeWorld({"r........", ".........", ".........", ".........", ".........", "........."});
    Bullet& along = fireRifle(*world, 3.0, 5.5, 7.5, 5.5);
    const Bullet& diagonal = fireRifle(*world, 2.0, 2.0, 5.0, 5.0);
    const Bullet& backwards = fireRifle(*world, 5.0, 5.0, 2.0, 4.0);
    EXPECT_DOUBLE_EQ(along.velocityX, 0.2);
    EXPECT_EQ(along.velocityY, 0.0);
    EXPECT_DOUBLE_EQ(diagonal.velocityX, 0.1);
    EXPECT_DOUBLE_EQ(diagonal.velocityY, 0.1);
    EXPECT_DOUBLE_EQ(backwards.velocityX, -0.15);
    EXPECT_DOUBLE_EQ(backwards.velocityY, -0.05);
    EXPECT_EQ(along.texture, cataloguePicture(slot::kBulletYellow));

    along.range = 3.9;
    for (int step = 0; step < 20; ++step) {
        moveBullets(*world);
    }
    EXPECT_NEAR(along.travelled, 4.0, 1e-9);
    EXPECT_FALSE(along.active);
    EXPECT_FALSE(along.hit);
}

TEST(Bullet, gridEdgeAndWallsSpendItWithoutAHit) {
    auto world = makeWorld({"r.b."});
    world->tiles[2][0] = TileKind::Obstacle;
    const Bullet& atEdge = fireRifle(*world, 0.2, 0.5, -3.0, 0.5);
    const Bullet& atWall = fireRifle(*world, 1.9, 0.5, 3.5, 0.5);
    stepBullets(*world);
    EXPECT_EQ(atEdge.x, 0.0);
    EXPECT_FALSE(atEdge.active);
    EXPECT_FALSE(atWall.active);
    EXPECT_FALSE(atWall.hit);
    EXPECT_EQ(world->entities[1]->health, 100);  // the soldier inside the wall is shielded
}

TEST(Bullet, bodyWithoutALivingVictimStopsItWithoutDamage) {
    auto world = makeWorld({"r.b."});
    world->entities[1]->kill();
    const Bullet& bullet = fireRifle(*world, 1.9, 0.5, 3.5, 0.5);
    stepBullets(*world);
    EXPECT_FALSE(bullet.active);
    EXPECT_TRUE(bullet.hit);
    EXPECT_EQ(world->entities[1]->health, 0);
}

TEST(Bullet, onlyTheLaterOfTwoLivingSoldiersOnATileIsHurt) {
    auto world = makeWorld({"r.b."});
    world->addEntity(Team::Red, 2, 0);
    fireRifle(*world, 1.9, 0.5, 3.5, 0.5);
    stepBullets(*world);
    EXPECT_EQ(world->entities[1]->health, 100);
    EXPECT_EQ(world->entities[2]->health, 80);
}

TEST(Bullet, distantHitDealsWholePointsOfTheReducedDamage) {
    auto world = makeWorld({"r...........b", "............b"});
    world->entities[2]->health = 13;
    for (const double y : {0.5, 1.5}) {
        Bullet& bullet = fireRifle(*world, 3.0, y, 13.0, y);
        bullet.x = 12.0;
        bullet.travelled = 9.0;
    }
    resolveBulletHits(*world);
    EXPECT_NEAR(world->bullets[0]->damage, 13.333, 0.001);
    EXPECT_EQ(world->entities[1]->health, 87);
    EXPECT_EQ(world->entities[2]->health, 0);
    EXPECT_EQ(world->entities[2]->state, EntityState::Dead);

    Bullet near;
    near.damage = 20.0;
    near.applyFalloff(12.0, 7.0);
    EXPECT_EQ(near.damage, 20.0);
}

TEST(Bullet, spentBulletsLeaveOnePerStepLastFirst) {
    auto world = makeWorld({"r........."});
    const Bullet* flying = &fireRifle(*world, 5.0, 0.5, 9.0, 0.5);
    const Bullet* firstSpent = &fireRifle(*world, 5.0, 0.5, 9.0, 0.5);
    const Bullet* secondSpent = &fireRifle(*world, 5.0, 0.5, 9.0, 0.5);
    fireRifle(*world, 5.0, 0.5, 9.0, 0.5);
    for (int i = 1; i < 4; ++i) {
        world->bullets[i]->active = false;
    }
    moveBullets(*world);
    ASSERT_EQ(world->bullets.size(), 3u);
    EXPECT_EQ(world->bullets[2].get(), secondSpent);
    EXPECT_NEAR(secondSpent->x, 5.2, 1e-12);  // spent bullets keep flying until removed
    moveBullets(*world);
    ASSERT_EQ(world->bullets.size(), 2u);
    EXPECT_EQ(world->bullets[1].get(), firstSpent);
    moveBullets(*world);
    moveBullets(*world);
    ASSERT_EQ(world->bullets.size(), 1u);
    EXPECT_EQ(world->bullets[0].get(), flying);
    // The shooter remembers only what is still in flight.
    EXPECT_EQ(world->entities.front()->firedBullets, std::vector<Bullet*>{world->bullets[0].get()});
}

TEST(Bullet, aimedAtItsOwnFiringPointItIsSpentHarmlessly) {
    auto world = makeWorld({"rb.."});
    const Bullet& bullet = fireRifle(*world, 1.5, 0.5, 1.5, 0.5);
    EXPECT_EQ(bullet.velocityX, 0.0);
    EXPECT_EQ(bullet.velocityY, 0.0);
    stepBullets(*world);
    EXPECT_EQ(bullet.x, 1.5);
    EXPECT_FALSE(bullet.active);
    EXPECT_FALSE(bullet.hit);
    EXPECT_EQ(world->entities[1]->health, 100);
}

}  // namespace
