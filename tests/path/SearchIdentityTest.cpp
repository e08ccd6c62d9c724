#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "ai/Entity.h"
#include "path/Path.h"
#include "plain/PlainSearch.h"
#include "support/Dice.h"
#include "world/World.h"

namespace {

constexpr int kCases = 4000;

struct Request {
    int startX;
    int startY;
    int goalX;
    int goalY;
};

// Walls, soldiers of both teams (some dead, some on walls) and usually the requester on the
// start tile. Small maps more often than large ones: many shapes in little time.
std::unique_ptr<World> drawWorld(Dice& dice, Request& request) {
    auto world = std::make_unique<World>();
    const int columns = dice.chance(70) ? dice.between(1, 16) : dice.between(1, 64);
    const int rows = dice.chance(70) ? dice.between(1, 16) : dice.between(1, 64);
    world->resize(columns, rows, world->fogResolution);
    const int wallPercent = dice.below(4) * 12;
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            if (dice.chance(wallPercent)) {
                world->tiles[x][y] = TileKind::Obstacle;
            }
        }
    }
    request.startX = dice.below(columns);
    request.startY = dice.below(rows);
    if (dice.chance(75)) {
        world->addEntity(dice.below(2), request.startX, request.startY);
    }
    for (int i = dice.below(columns * rows / 4 + 2); i > 0; --i) {
        world->addEntity(dice.below(2), dice.below(columns), dice.below(rows));
        if (dice.chance(30)) {
            world->entities.back()->health = 0;
        }
    }
    return world;
}

// Free tiles, soldiers' tiles, the start itself, just outside the grid and far outside it.
void drawGoal(Dice& dice, const World& world, Request& request) {
    const int kind = dice.below(10);
    if (kind < 2 && !world.entities.empty()) {
        const Entity& someone = *world.entities[static_cast<std::size_t>(
            dice.below(static_cast<int>(world.entities.size())))];
        request.goalX = static_cast<int>(someone.x);
        request.goalY = static_cast<int>(someone.y);
    } else if (kind < 3) {
        request.goalX = request.startX;
        request.goalY = request.startY;
    } else if (kind < 5) {
        request.goalX = dice.between(-12, world.columns + 12);
        request.goalY = dice.between(-12, world.rows + 12);
    } else if (kind < 6) {
        request.goalX = dice.between(-500, 500);
        request.goalY = dice.between(-500, 500);
    } else {
        request.goalX = dice.below(world.columns);
        request.goalY = dice.below(world.rows);
    }
}

std::string describe(int index, const World& world, const Request& r) {
    std::ostringstream out;
    out << "case " << index << ": start (" << r.startX << "," << r.startY << ") goal (" << r.goalX
        << "," << r.goalY << ")\n";
    for (int y = 0; y < world.rows; ++y) {
        for (int x = 0; x < world.columns; ++x) {
            out << (!world.isTileFree(x, y) ? (world.tileKind(x, y) == 2 ? 'o' : 's') : '.');
        }
        out << "\n";
    }
    return out.str();
}

}  // namespace

TEST(SearchIdentity, fastSearchChoosesExactlyAsThePlainOpenListScan) {
    Dice dice(20240611u);
    int fallbacks = 0;
    int emptyRoutes = 0;
    for (int i = 0; i < kCases; ++i) {
        Request r{};
        auto world = drawWorld(dice, r);
        drawGoal(dice, *world, r);

        const Path fast(r.startX, r.startY, r.goalX, r.goalY, world->columns, world->rows,
                        world.get());
        const SearchResult plain =
            plainSearch(r.startX, r.startY, r.goalX, r.goalY, world->columns, world->rows, *world);

        ASSERT_EQ(fast.goalX, plain.goalX) << describe(i, *world, r);
        ASSERT_EQ(fast.goalY, plain.goalY) << describe(i, *world, r);
        ASSERT_EQ(fast.waypoints.size(), plain.waypoints.size()) << describe(i, *world, r);
        for (std::size_t w = 0; w < fast.waypoints.size(); ++w) {
            const Waypoint& a = fast.waypoints[w];
            const Waypoint& b = plain.waypoints[w];
            ASSERT_TRUE(a.x == b.x && a.y == b.y && a.stepCost == b.stepCost)
                << "waypoint " << w << " of " << describe(i, *world, r);
        }
        fallbacks += fast.goalX != r.goalX || fast.goalY != r.goalY;
        emptyRoutes += fast.waypoints.empty();
    }
    // The cases must reach the fallback and the empty route often, not only plain arrivals.
    EXPECT_GT(fallbacks, kCases / 10);
    EXPECT_GT(emptyRoutes, kCases / 50);
    EXPECT_LT(emptyRoutes, kCases / 2);
}
