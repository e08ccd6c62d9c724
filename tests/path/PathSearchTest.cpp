#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ai/Entity.h"
#include "path/Path.h"
#include "support/TestWorld.h"

namespace {

struct Tile {
    int x;
    int y;
    int stepCost;
    bool operator==(const Tile&) const = default;
};

std::vector<Tile> route(const Path& path) {
    std::vector<Tile> tiles;
    for (const Waypoint& w : path.waypoints) {
        tiles.push_back(Tile{w.x, w.y, w.stepCost});
    }
    return tiles;
}

Path search(World& world, int startX, int startY, int goalX, int goalY) {
    return Path(startX, startY, goalX, goalY, world.columns, world.rows, &world);
}

}  // namespace

TEST(PathSearch, openGroundGoesStraightDownTheDiagonal) {
    auto world = makeWorld({"r..", "...", "..."});
    const Path path = search(*world, 0, 0, 2, 2);
    EXPECT_EQ(route(path), (std::vector<Tile>{{0, 0, 0}, {1, 1, 14}, {2, 2, 14}}));
    EXPECT_EQ(path.goalX, 2);
    EXPECT_EQ(path.goalY, 2);
    EXPECT_EQ(path.current, 0u);
}

TEST(PathSearch, wallForbidsCuttingItsCorner) {
    auto world = makeWorld({"ro.", "...", "..."});
    const Path path = search(*world, 0, 0, 2, 2);
    EXPECT_EQ(route(path), (std::vector<Tile>{{0, 0, 0}, {0, 1, 10}, {1, 1, 10}, {2, 2, 14}}));
}

TEST(PathSearch, soldierBesideTheCornerDoesNotForbidTheDiagonal) {
    auto world = makeWorld({"rb.", "...", "..."});
    const Path path = search(*world, 0, 0, 2, 2);
    EXPECT_EQ(route(path), (std::vector<Tile>{{0, 0, 0}, {1, 1, 14}, {2, 2, 14}}));
}

TEST(PathSearch, equalCostsGoToTheNodeInsertedFirst) {
    // Both ways round the wall cost the same; the east neighbour is appended before the west
    // one, so every tie on the way is won by the eastern side.
    auto world = makeWorld({".r.", ".o.", "..."});
    const Path path = search(*world, 1, 0, 1, 2);
    EXPECT_EQ(route(path),
              (std::vector<Tile>{{1, 0, 0}, {2, 0, 10}, {2, 1, 10}, {2, 2, 10}, {1, 2, 10}}));
}

TEST(PathSearch, occupiedGoalLeadsToNearestReachedTileFirstByColumn) {
    auto world = makeWorld({
        "r.......",
        "........",
        "........",
        "........",
        "........",
        ".....b..",
        "........",
        "........",
    });
    const Path path = search(*world, 0, 0, 5, 5);
    ASSERT_FALSE(path.waypoints.empty());
    EXPECT_EQ(path.waypoints.back().x, 4);
    EXPECT_EQ(path.waypoints.back().y, 5);
    EXPECT_EQ(path.goalX, 4);
    EXPECT_EQ(path.goalY, 5);
    EXPECT_EQ(path.waypoints.front().x, 0);
    EXPECT_EQ(path.waypoints.front().y, 0);
}

TEST(PathSearch, startWalledInByObstaclesAndSoldiersHasNoRoute) {
    auto world = makeWorld({
        ".....",
        ".obo.",
        ".oro.",
        ".obb.",
        ".....",
    });
    const Path path = search(*world, 2, 2, 0, 0);
    EXPECT_TRUE(path.waypoints.empty());
    EXPECT_EQ(path.currentWaypoint(), nullptr);
}

TEST(PathSearch, goalOutsideTheGridLeadsToTheNearestTileInside) {
    auto world = makeWorld({"....", "....", "..r.", "...."});
    const Path path = search(*world, 2, 2, -1, -1);
    EXPECT_EQ(route(path), (std::vector<Tile>{{2, 2, 0}, {1, 1, 14}, {0, 0, 14}}));
    EXPECT_EQ(path.goalX, 0);
    EXPECT_EQ(path.goalY, 0);
}

TEST(PathSearch, goalOnTheRequestersOwnTileLeadsToANeighbour) {
    auto world = makeWorld({"...", ".r.", "..."});
    const Path path = search(*world, 1, 1, 1, 1);
    EXPECT_EQ(route(path), (std::vector<Tile>{{1, 1, 0}, {0, 1, 10}}));
}

TEST(PathSearch, goalOnAFreeStartTileGivesNoRoute) {
    // Nobody stands on the start, so the start itself is the nearest reached tile.
    auto world = makeWorld({"...", "...", "..."});
    const Path path = search(*world, 1, 1, 1, 1);
    EXPECT_TRUE(path.waypoints.empty());
}

TEST(PathSearch, goalsFarBeyondTheGridNeitherOverflowNorFindAFallback) {
    auto world = makeWorld({"r..", "...", "..."});
    for (const int far : {1000, INT_MAX, INT_MIN}) {
        const Path path = search(*world, 0, 0, far, far);
        EXPECT_TRUE(path.waypoints.empty()) << far;
    }
}

TEST(PathSearch, startOffTheGridOrNoWorldGivesAnEmptyRoute) {
    auto world = makeWorld({"...", "..."});
    for (const auto& [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}, {INT_MIN, INT_MAX}}) {
        EXPECT_TRUE(search(*world, x, y, 1, 1).waypoints.empty()) << x << "," << y;
    }
    EXPECT_TRUE(Path(0, 0, 1, 1, 3, 2, nullptr).waypoints.empty());
    EXPECT_TRUE(Path(0, 0, 1, 1, 0, 0, world.get()).waypoints.empty());
}

TEST(PathSearch, searchAreaLargerThanTheWorldTreatsTheOutsideAsWall) {
    auto world = makeWorld({"r.", ".."});
    const Path path(0, 0, 5, 0, 6, 2, world.get());
    ASSERT_FALSE(path.waypoints.empty());
    EXPECT_EQ(path.waypoints.back().x, 1);
}

TEST(PathOperations, advanceWalksToTheLastWaypointAndStopsThere) {
    auto world = makeWorld({"r..."});
    Path path = search(*world, 0, 0, 3, 0);
    ASSERT_EQ(path.waypoints.size(), 4u);
    EXPECT_EQ(path.currentWaypoint()->x, 0);
    EXPECT_EQ(path.advance()->x, 1);
    EXPECT_EQ(path.advance()->x, 2);
    EXPECT_EQ(path.advance()->x, 3);
    EXPECT_EQ(path.advance(), nullptr);
    EXPECT_EQ(path.current, 3u);
    EXPECT_EQ(path.currentWaypoint()->x, 3);
}

TEST(PathOperations, remainingPathIsClearUntilSomeoneStandsAheadOrTheEndIsReached) {
    auto world = makeWorld({"r...", "...b"});
    Path path = search(*world, 0, 0, 3, 0);
    ASSERT_EQ(path.waypoints.size(), 4u);
    EXPECT_TRUE(path.isRemainingPathClear());

    Entity& blue = *world->entities[1];
    blue.x = 3.0;
    blue.y = 0.0;
    EXPECT_FALSE(path.isRemainingPathClear());
    blue.health = 0;  // the dead block nothing
    EXPECT_TRUE(path.isRemainingPathClear());

    // The current waypoint itself is not checked: the soldier stands on it.
    path.advance();
    world->addEntity(0, 1, 0);
    EXPECT_TRUE(path.isRemainingPathClear());

    path.advance();
    path.advance();
    EXPECT_FALSE(path.isRemainingPathClear());
}

TEST(PathOperations, emptyRouteCountsAsClearAndCannotAdvance) {
    auto world = makeWorld({"ooo", "oro", "ooo"});
    Path path = search(*world, 1, 1, 0, 0);
    ASSERT_TRUE(path.waypoints.empty());
    EXPECT_TRUE(path.isRemainingPathClear());
    EXPECT_EQ(path.advance(), nullptr);
    EXPECT_EQ(path.currentWaypoint(), nullptr);
}
