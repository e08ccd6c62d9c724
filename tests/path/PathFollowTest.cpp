#include <gtest/gtest.h>

#include <vector>

#include "ai/Entity.h"
#include "path/Path.h"
#include "support/TestWorld.h"

namespace {

// Calls followPath until the soldier moves; returns the number of calls, 0 if it never moved.
int callsUntilHop(Entity& e, int limit = 100) {
    const double x = e.x;
    const double y = e.y;
    for (int call = 1; call <= limit; ++call) {
        e.followPath();
        if (e.x != x || e.y != y) {
            return call;
        }
    }
    return 0;
}

bool routeContains(const Path& path, int x, int y) {
    for (const Waypoint& w : path.waypoints) {
        if (w.x == x && w.y == y) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(PathFollow, straightRouteHopsEveryEleventhCallAndIsDroppedOnArrival) {
    auto world = makeWorld({"r..."});
    Entity& e = *world->entities[0];
    e.requestPath(3, 0);
    e.halted = false;
    EXPECT_EQ(callsUntilHop(e), 11);
    EXPECT_EQ(e.stepX, 0);
    EXPECT_EQ(e.moveProgress, 0.0);
    EXPECT_EQ(callsUntilHop(e), 11);
    EXPECT_EQ(callsUntilHop(e), 11);
    EXPECT_EQ(e.x, 3.0);

    EXPECT_EQ(callsUntilHop(e, 10), 0);
    ASSERT_NE(e.path, nullptr);
    e.followPath();  // the 44th call
    EXPECT_EQ(e.path, nullptr);
    EXPECT_EQ(e.goalX, -1.0);
    EXPECT_EQ(e.goalY, -1.0);
    EXPECT_TRUE(e.halted);
    EXPECT_EQ(e.stepX, -1);
}

TEST(PathFollow, diagonalStepSlowsTheNextHopEvenWhenThatStepIsStraight) {
    // The wall's corner forces (0,0) -> (1,1) diagonally, then (1,1) -> (2,1) straight.
    auto world = makeWorld({"r.o", "..."});
    Entity& e = *world->entities[0];
    e.requestPath(2, 1);
    ASSERT_EQ(e.path->waypoints.size(), 3u);
    EXPECT_EQ(callsUntilHop(e), 11);
    EXPECT_EQ(callsUntilHop(e), 15);
    EXPECT_EQ(e.x, 2.0);
    EXPECT_EQ(e.y, 1.0);
}

TEST(PathFollow, soldierSteppingOntoTheRouteMakesTheNextHopFollowANewRoute) {
    auto world = makeWorld({".....", "r....", "....b"});
    Entity& e = *world->entities[0];
    e.requestPath(4, 1);
    ASSERT_TRUE(routeContains(*e.path, 3, 1));
    ASSERT_EQ(callsUntilHop(e), 11);

    Entity& blue = *world->entities[1];
    blue.x = 3.0;
    blue.y = 1.0;
    EXPECT_EQ(callsUntilHop(e, 10), 0);
    EXPECT_EQ(e.path->waypoints.front().x, 0) << "no new route before the hop time";
    e.followPath();

    const Path& route = *e.path;
    EXPECT_FALSE(routeContains(route, 3, 1));
    ASSERT_GE(route.waypoints.size(), 2u);
    EXPECT_EQ(route.waypoints[0].x, 1);
    EXPECT_EQ(route.waypoints[0].y, 1);
    EXPECT_EQ(e.x, route.waypoints[1].x);
    EXPECT_EQ(e.y, route.waypoints[1].y);
}

TEST(PathFollow, endOfAFallbackRouteSearchesAgainFromThere) {
    auto world = makeWorld({"r..b", "...."});
    Entity& e = *world->entities[0];
    e.requestPath(3, 0);
    ASSERT_EQ(e.path->goalX, 2);
    ASSERT_EQ(callsUntilHop(e) + callsUntilHop(e), 22);
    ASSERT_EQ(e.x, 2.0);

    EXPECT_EQ(callsUntilHop(e), 11);
    EXPECT_EQ(e.path->waypoints.front().x, 2);
    EXPECT_EQ(e.goalX, 3.0);
}

TEST(PathFollow, clearPathsStopsEverySoldierMidWalk) {
    auto world = makeWorld({"r...", "b..."});
    Entity& red = *world->entities[0];
    Entity& blue = *world->entities[1];
    red.requestPath(3, 0);
    blue.requestPath(3, 1);
    red.halted = false;
    ASSERT_EQ(callsUntilHop(red), 11);

    world->clearPaths();
    for (const Entity* e : {&red, &blue}) {
        EXPECT_EQ(e->path, nullptr);
        EXPECT_EQ(e->goalX, -1.0);
        EXPECT_EQ(e->goalY, -1.0);
    }
    EXPECT_FALSE(red.halted);

    EXPECT_EQ(callsUntilHop(red, 20), 0);
    EXPECT_EQ(red.stepX, -1);
    EXPECT_GT(red.moveProgress, 1.0);
    // Progress kept growing without a route, so a new one starts with a hop at once.
    red.requestPath(3, 0);
    EXPECT_EQ(callsUntilHop(red, 1), 1);
}
