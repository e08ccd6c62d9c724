#include <gtest/gtest.h>

#include <climits>

#include "ai/Entity.h"
#include "support/TestWorld.h"
#include "world/Order.h"

namespace {

// Red 0 and 1, blue 2, red 3 dead; 4 columns by 2 rows.
std::unique_ptr<World> battle() {
    auto world = makeWorld({"rrbr",  //
                            "...."});
    world->entities[3]->kill();
    return world;
}

Order redOrder(int kind, std::vector<int32_t> soldiers) {
    Order order;
    order.kind = kind;
    order.giver = teamBit(Team::Red);
    order.soldiers = std::move(soldiers);
    return order;
}

TEST(Order, creationIdsNameTheRosterAndNothingElse) {
    auto world = battle();
    auto other = battle();
    for (int32_t id = 0; id < 4; ++id) {
        EXPECT_EQ(world->idOf(world->soldierById(id)), id);
    }
    EXPECT_EQ(world->soldierById(-1), nullptr);
    EXPECT_EQ(world->soldierById(4), nullptr);
    EXPECT_EQ(world->soldierById(INT_MIN), nullptr);
    EXPECT_EQ(world->idOf(nullptr), kNoSoldier);
    EXPECT_EQ(world->idOf(other->entities[0]), kNoSoldier);
}

// Unknown, duplicate, other team's and dead soldiers are left out; the damage key alone still
// strikes a body, as the game always has.
TEST(Order, reachesOnlyTheGiversLivingSoldiersEachOnce) {
    auto world = battle();
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[2];
    Entity& dead = *world->entities[3];
    const std::vector<int32_t> named = {0, 0, 2, 3, -1, 4, INT_MAX};

    applyOrder(*world, redOrder(OrderKind::Flee, named));
    EXPECT_EQ(red.state, EntityState::Flee);
    EXPECT_EQ(blue.state, EntityState::Idle);
    EXPECT_EQ(dead.state, EntityState::Dead);

    Order move = redOrder(OrderKind::Move, named);
    move.column = 2;
    move.row = 1;
    applyOrder(*world, move);
    EXPECT_EQ(red.state, EntityState::Move);
    EXPECT_EQ(red.goalX, 2.0);
    EXPECT_EQ(blue.goalX, -1.0);
    EXPECT_EQ(dead.goalX, -1.0);
    EXPECT_EQ(dead.path, nullptr);

    applyOrder(*world, redOrder(OrderKind::Damage, named));
    EXPECT_EQ(red.health, 95);  // once, though named twice
    EXPECT_EQ(blue.health, 100);
    EXPECT_EQ(dead.health, -5);

    Order both = redOrder(OrderKind::Explore, {2, 1});
    both.giver = kBothTeams;
    applyOrder(*world, both);
    EXPECT_EQ(blue.state, EntityState::Explore);
    EXPECT_EQ(world->entities[1]->state, EntityState::Explore);
}

TEST(Order, badKindsTilesAndTargetsChangeNothing) {
    auto world = battle();
    Entity& red = *world->entities[0];
    for (const int kind : {-1, int{OrderKind::Count}, INT_MAX, INT_MIN}) {
        applyOrder(*world, redOrder(kind, {0}));
    }
    const int offGrid[][2] = {{-1, 0}, {4, 0}, {0, -1}, {0, 2}, {INT_MIN, INT_MAX}};
    for (const auto& tile : offGrid) {
        for (const int kind : {OrderKind::Move, OrderKind::Advance, OrderKind::ToggleWall}) {
            Order order = redOrder(kind, {0});
            order.column = tile[0];
            order.row = tile[1];
            applyOrder(*world, order);
        }
    }
    for (const int32_t target : {-1, 3, 99}) {  // nobody, the dead, unknown
        Order pursue = redOrder(OrderKind::Pursue, {0});
        pursue.target = target;
        applyOrder(*world, pursue);
    }
    EXPECT_EQ(red.state, EntityState::Idle);
    EXPECT_EQ(red.target, nullptr);
    EXPECT_EQ(red.goalX, -1.0);
    EXPECT_EQ(red.health, 100);

    Order pursue = redOrder(OrderKind::Pursue, {0, 1});
    pursue.target = 2;
    applyOrder(*world, pursue);
    EXPECT_EQ(red.target, world->entities[2]);
    EXPECT_EQ(world->entities[1]->state, EntityState::Pursue);
}

}  // namespace
