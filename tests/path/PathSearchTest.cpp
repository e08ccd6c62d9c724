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

std::vector<Tile> route(World& world, int startX, int startY, int goalX, int goalY) {
    const Path path(startX, startY, goalX, goalY, world.columns, world.rows, &world);
    std::vector<Tile> tiles;
    for (const Waypoint& w : path.waypoints) {
        tiles.push_back(Tile{w.x, w.y, w.stepCost});
    }
    return tiles;
}

}  // namespace

TEST(PathSearch, openGroundGoesStraightDownTheDiagonal) {
    auto world = makeWorld({"r..", "...", "..."});
    EXPECT_EQ(route(*world, 0, 0, 2, 2), (std::vector<Tile>{{0, 0, 0}, {1, 1, 14}, {2, 2, 14}}));
}

TEST(PathSearch, onlyWallsForbidCuttingACorner) {
    auto walled = makeWorld({"ro.", "...", "..."});
    EXPECT_EQ(route(*walled, 0, 0, 2, 2),
              (std::vector<Tile>{{0, 0, 0}, {0, 1, 10}, {1, 1, 10}, {2, 2, 14}}));
    auto guarded = makeWorld({"rb.", "...", "..."});
    EXPECT_EQ(route(*guarded, 0, 0, 2, 2), (std::vector<Tile>{{0, 0, 0}, {1, 1, 14}, {2, 2, 14}}));
}

TEST(PathSearch, equalCostsGoToTheNodeInsertedFirst) {
    // Both ways round the wall cost the same; the east neighbour is appended before the west
    // one, so every tie on the way is won by the eastern side.
    auto world = makeWorld({".r.", ".o.", "..."});
    EXPECT_EQ(route(*world, 1, 0, 1, 2),
              (std::vector<Tile>{{1, 0, 0}, {2, 0, 10}, {2, 1, 10}, {2, 2, 10}, {1, 2, 10}}));
}

TEST(PathSearch, occupiedGoalLeadsToTheNearestReachedTileFirstByColumn) {
    auto world = makeWorld({"r.....", "......", "......", "......", "......", ".....b"});
    const Path path(0, 0, 5, 5, world->columns, world->rows, world.get());
    ASSERT_FALSE(path.waypoints.empty());
    EXPECT_EQ(path.goalX, 4);
    EXPECT_EQ(path.goalY, 5);
    EXPECT_EQ(path.waypoints.back().x, 4);
    EXPECT_EQ(path.waypoints.back().y, 5);
}

TEST(PathSearch, startWalledInByObstaclesAndSoldiersHasNoRoute) {
    auto world = makeWorld({"obo", "oro", "obb"});
    EXPECT_TRUE(route(*world, 1, 1, 0, 0).empty());
}

TEST(PathSearch, goalOutsideTheGridLeadsToTheNearestTileInside) {
    auto world = makeWorld({"....", "....", "..r.", "...."});
    EXPECT_EQ(route(*world, 2, 2, -1, -1), (std::vector<Tile>{{2, 2, 0}, {1, 1, 14}, {0, 0, 14}}));
}

TEST(PathSearch, goalOnTheRequestersOwnTileLeadsToANeighbour) {
    auto world = makeWorld({"...", ".r.", "..."});
    EXPECT_EQ(route(*world, 1, 1, 1, 1), (std::vector<Tile>{{1, 1, 0}, {0, 1, 10}}));
}

TEST(PathSearch, badRequestsGiveAnEmptyRouteWithoutOverflow) {
    auto world = makeWorld({"r..", "..."});
    EXPECT_TRUE(route(*world, -1, 0, 1, 1).empty());
    EXPECT_TRUE(route(*world, 0, 2, 1, 1).empty());
    EXPECT_TRUE(route(*world, INT_MIN, INT_MAX, 1, 1).empty());
    EXPECT_TRUE(Path(0, 0, 1, 1, 3, 2, nullptr).waypoints.empty());
    // Farther from every tile than the fallback reaches.
    EXPECT_TRUE(route(*world, 0, 0, 1000, 1000).empty());
    EXPECT_TRUE(route(*world, 0, 0, INT_MAX, INT_MIN).empty());
}

TEST(PathOperations, walkingARouteChecksOnlyTheTilesAhead) {
    auto world = makeWorld({"r...", "...b"});
    Path path(0, 0, 3, 0, world->columns, world->rows, world.get());
    ASSERT_EQ(path.waypoints.size(), 4u);
    EXPECT_TRUE(path.isRemainingPathClear());

    Entity& blue = *world->entities[1];
    blue.y = 0.0;
    EXPECT_FALSE(path.isRemainingPathClear());
    blue.health = 0;
    EXPECT_TRUE(path.isRemainingPathClear()) << "the dead block nothing";

    EXPECT_EQ(path.advance()->x, 1);
    world->addEntity(0, 1, 0);
    EXPECT_TRUE(path.isRemainingPathClear()) << "the current tile is not checked";

    EXPECT_EQ(path.advance()->x, 2);
    EXPECT_EQ(path.advance()->x, 3);
    EXPECT_EQ(path.advance(), nullptr);
    EXPECT_EQ(path.currentWaypoint()->x, 3);
    EXPECT_FALSE(path.isRemainingPathClear()) << "the end of the route is never clear";
}

TEST(PathOperations, emptyRouteCountsAsClearAndCannotAdvance) {
    auto world = makeWorld({"ooo", "oro", "ooo"});
    Path path(1, 1, 0, 0, world->columns, world->rows, world.get());
    EXPECT_TRUE(path.isRemainingPathClear());
    EXPECT_EQ(path.advance(), nullptr);
    EXPECT_EQ(path.currentWaypoint(), nullptr);
}
