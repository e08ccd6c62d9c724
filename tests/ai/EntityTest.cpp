#include <gtest/gtest.h>

#include "ai/Entity.h"
#include "support/TestWorld.h"
#include "world/GameClock.h"

TEST(Entity, newSoldierStandsIdleWithTheRifleInHand) {
    setSimulatedClock(4321);
    World world;
    world.addEntity(Team::Blue, 3, 7);
    const Entity& e = *world.entities.at(0);
    EXPECT_EQ(e.x, 3.0);
    EXPECT_EQ(e.goalX, -1.0);
    EXPECT_EQ(e.state, EntityState::Idle);
    EXPECT_EQ(e.action, EntityAction::Continue);
    EXPECT_EQ(e.lastUpdateTime, 4321);
    EXPECT_EQ(e.lastShotTime, 0);
    EXPECT_EQ(e.currentWeapon, e.secondaryWeapon.get());
    EXPECT_EQ(e.currentWeapon->rounds, 1);
    EXPECT_EQ(e.primaryWeapon->rounds, 4);
    EXPECT_EQ(e.primaryWeapon->owner, &e);
    EXPECT_EQ(e.secondaryWeapon->owner, &e);
    EXPECT_EQ((std::vector<int>(e.spareRounds, e.spareRounds + 3)), (std::vector<int>{5, 10, 2}));
    useWallClock();
}

TEST(Entity, killEndsALivingSoldierInAnyState) {
    auto world = makeWorld({"rr"});
    for (Entity* e : world->entities) {
        e->state = e == world->entities[0] ? EntityState::Flee : EntityState::Pursue;
        e->health = 37;
        e->kill();
        EXPECT_EQ(e->health, 0);
        EXPECT_EQ(e->state, EntityState::Dead);
    }
}

TEST(Entity, killLeavesAnAlreadyDeadSoldierUntouched) {
    auto world = makeWorld({"r"});
    Entity& e = *world->entities[0];
    e.state = EntityState::Dead;
    e.health = 50;  // healed after dying
    e.kill();
    EXPECT_EQ(e.health, 50);
    EXPECT_EQ(e.state, EntityState::Dead);
}
