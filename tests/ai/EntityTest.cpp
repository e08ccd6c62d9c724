#include <gtest/gtest.h>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "support/TestWorld.h"

// The clock read at construction starts the thinking rhythm; the shot clock starts at 0 so
// that the first shot does not wait; each gun knows its carrier, whose list its bullets join.
TEST(Entity, newSoldierReadsTheClockAndCarriesTwoGunsOfItsOwnWithTheRifleInHand) {
    setSimulatedClock(4321);
    World world;
    world.addEntity(Team::Blue, 3, 7);
    const Entity& e = *world.entities.at(0);
    EXPECT_EQ(e.lastUpdateTime, 4321);
    EXPECT_EQ(e.lastShotTime, 0);
    EXPECT_EQ(e.currentWeapon, e.secondaryWeapon.get());
    EXPECT_EQ(e.primaryWeapon->owner, &e);
    EXPECT_EQ(e.secondaryWeapon->owner, &e);
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
