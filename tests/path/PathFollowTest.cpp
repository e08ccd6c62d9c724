#include <gtest/gtest.h>

#include <vector>

#include "ai/Entity.h"
#include "path/Path.h"
#include "support/TestWorld.h"

namespace {

// Calls followPath until the soldier's position changes, up to a limit; returns the number of
// calls made, or 0 when it never moved.
int callsUntilHop(Entity& e, int limit = 100) {
    const double startX = e.x;
    const double startY = e.y;
    for (int call = 1; call <= limit; ++call) {
        e.followPath();
        if (e.x != startX || e.y != startY) {
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

TEST(PathFollow, requestPathSetsTheGoalAndSearchesFromTheSoldiersTile) {
    auto world = makeWorld({"....", ".r..", "...."});
    Entity& e = *world->entities[0];
    e.moveProgress = 0.5;
    const Path* const path = e.requestPath(3, 2);
    ASSERT_EQ(path, e.path.get());
    EXPECT_EQ(e.goalX, 3.0);
    EXPECT_EQ(e.goalY, 2.0);
    ASSERT_FALSE(path->waypoints.empty());
    EXPECT_EQ(path->waypoints.front().x, 1);
    EXPECT_EQ(path->waypoints.front().y, 1);
    EXPECT_EQ(e.moveProgress, 0.5);
    EXPECT_TRUE(e.halted);
}

TEST(PathFollow, straightRouteHopsEveryEleventhCallAndIsDroppedOnArrival) {
    auto world = makeWorld({"r..."});
    Entity& e = *world->entities[0];
    e.requestPath(3, 0);
    e.halted = false;

    std::vector<int> hops;
    for (int call = 1; call <= 43; ++call) {
        const double before = e.x;
        e.followPath();
        if (e.x != before) {
            hops.push_back(call);
            EXPECT_EQ(e.stepX, static_cast<int>(before));
            EXPECT_EQ(e.stepY, 0);
            EXPECT_EQ(e.moveProgress, 0.0);
        }
    }
    EXPECT_EQ(hops, (std::vector<int>{11, 22, 33}));
    ASSERT_NE(e.path, nullptr);

    e.followPath();
    EXPECT_EQ(e.path, nullptr);
    EXPECT_EQ(e.x, 3.0);
    EXPECT_EQ(e.goalX, -1.0);
    EXPECT_EQ(e.goalY, -1.0);
    EXPECT_TRUE(e.halted);
    EXPECT_EQ(e.stepX, -1);
    EXPECT_EQ(e.stepY, -1);
}

TEST(PathFollow, diagonalStepSlowsTheNextHopEvenWhenThatStepIsStraight) {
    // The wall's corner forces (0,0) -> (1,1) diagonally, then (1,1) -> (2,1) straight.
    auto world = makeWorld({"r.o", "..."});
    Entity& e = *world->entities[0];
    e.requestPath(2, 1);
    ASSERT_EQ(e.path->waypoints.size(), 3u);
    ASSERT_EQ(e.path->waypoints[1].stepCost, 14);

    EXPECT_EQ(callsUntilHop(e), 11);
    EXPECT_EQ(e.x, 1.0);
    EXPECT_EQ(e.y, 1.0);
    EXPECT_EQ(callsUntilHop(e), 15);
    EXPECT_EQ(e.x, 2.0);
    EXPECT_EQ(e.y, 1.0);
}

TEST(PathFollow, goalOnOwnTileIsDroppedAtTheFirstHopTimeWithoutMoving) {
    auto world = makeWorld({"...", ".r.", "..."});
    Entity& e = *world->entities[0];
    e.halted = false;
    e.requestPath(1, 1);
    ASSERT_FALSE(e.path->waypoints.empty());
    EXPECT_EQ(callsUntilHop(e, 11), 0);
    EXPECT_EQ(e.path, nullptr);
    EXPECT_EQ(e.goalX, -1.0);
    EXPECT_TRUE(e.halted);
}

TEST(PathFollow, clearedGoalDropsThePathAtTheNextHopTime) {
    auto world = makeWorld({"r..."});
    Entity& e = *world->entities[0];
    e.requestPath(3, 0);
    e.goalY = -1.0;
    EXPECT_EQ(callsUntilHop(e, 11), 0);
    EXPECT_EQ(e.path, nullptr);
    EXPECT_EQ(e.goalX, -1.0);
}

TEST(PathFollow, soldierSteppingOntoTheRouteMakesTheNextHopFollowANewRoute) {
    auto world = makeWorld({
        ".....",
        "r....",
        "....b",
    });
    Entity& e = *world->entities[0];
    Entity& blue = *world->entities[1];
    e.requestPath(4, 1);
    ASSERT_TRUE(routeContains(*e.path, 3, 1));
    ASSERT_EQ(callsUntilHop(e), 11);
    ASSERT_EQ(e.x, 1.0);

    blue.x = 3.0;
    blue.y = 1.0;
    for (int call = 1; call <= 10; ++call) {
        e.followPath();
    }
    EXPECT_EQ(e.path->waypoints[0].x, 0) << "no re-plan before the hop time";
    e.followPath();

    const Path& newPath = *e.path;
    EXPECT_FALSE(routeContains(newPath, 3, 1));
    ASSERT_GE(newPath.waypoints.size(), 2u);
    EXPECT_EQ(newPath.waypoints[0].x, 1);
    EXPECT_EQ(newPath.waypoints[0].y, 1);
    EXPECT_EQ(newPath.current, 1u);
    EXPECT_EQ(e.x, newPath.waypoints[1].x);
    EXPECT_EQ(e.y, newPath.waypoints[1].y);
    EXPECT_EQ(e.stepX, 1);
    EXPECT_EQ(e.stepY, 1);
}

TEST(PathFollow, endOfAFallbackRouteSearchesAgainFromThere) {
    auto world = makeWorld({"r..b", "...."});
    Entity& e = *world->entities[0];
    e.requestPath(3, 0);
    ASSERT_EQ(e.path->goalX, 2);
    ASSERT_EQ(e.path->goalY, 0);
    ASSERT_EQ(callsUntilHop(e), 11);
    ASSERT_EQ(callsUntilHop(e), 11);
    ASSERT_EQ(e.x, 2.0);

    EXPECT_EQ(callsUntilHop(e), 11);
    EXPECT_EQ(e.path->waypoints.front().x, 2);
    EXPECT_EQ(e.path->waypoints.front().y, 0);
    EXPECT_EQ(e.goalX, 3.0);
    EXPECT_EQ(e.goalY, 0.0);
}

TEST(PathFollow, emptyRouteOnlyResetsProgress) {
    auto world = makeWorld({"ooo", "oro", "ooo"});
    Entity& e = *world->entities[0];
    e.requestPath(0, 0);
    ASSERT_TRUE(e.path->waypoints.empty());
    EXPECT_EQ(callsUntilHop(e, 30), 0);
    EXPECT_NE(e.path, nullptr);
    EXPECT_LE(e.moveProgress, 1.0);
    EXPECT_EQ(e.stepX, -1);
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
    EXPECT_EQ(red.stepX, 0);

    EXPECT_EQ(callsUntilHop(red, 20), 0);
    EXPECT_EQ(red.x, 1.0);
    EXPECT_EQ(red.stepX, -1);
    EXPECT_EQ(red.stepY, -1);
    EXPECT_GT(red.moveProgress, 1.0);

    // Progress kept growing without a path, so the next route starts with a hop at once.
    red.requestPath(3, 0);
    EXPECT_EQ(callsUntilHop(red, 1), 1);
    EXPECT_EQ(red.x, 2.0);
}

TEST(PathFollow, requestPathWithoutAWorldLeavesAnEmptyRoute) {
    auto world = makeWorld({"r.."});
    Entity& e = *world->entities[0];
    e.world = nullptr;
    ASSERT_NE(e.requestPath(2, 0), nullptr);
    EXPECT_TRUE(e.path->waypoints.empty());
    EXPECT_EQ(callsUntilHop(e, 20), 0);
}
