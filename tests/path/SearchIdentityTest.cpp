#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ai/Entity.h"
#include "path/Path.h"
#include "reference/LiteralSearch.h"
#include "support/TestWorld.h"

namespace {

constexpr int kCases = 4000;

// Draws from mt19937 by plain modulo, so the cases are the same with every standard library.
class Dice {
public:
    explicit Dice(uint32_t seed) : engine_(seed) {}
    int below(int n) { return static_cast<int>(engine_() % static_cast<uint32_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::mt19937 engine_;
};

struct Case {
    std::vector<std::string> rows;
    int startX;
    int startY;
    int goalX;
    int goalY;
};

// Small maps more often than large ones, so the cases cover many shapes in little time.
int drawSide(Dice& dice) {
    return dice.chance(70) ? dice.between(1, 16) : dice.between(1, 64);
}

Case drawCase(Dice& dice) {
    Case c;
    const int columns = drawSide(dice);
    const int rows = drawSide(dice);
    const int wallPercent = dice.below(4) * 12;
    c.rows.assign(static_cast<std::size_t>(rows),
                  std::string(static_cast<std::size_t>(columns), '.'));
    for (std::string& row : c.rows) {
        for (char& tile : row) {
            if (dice.chance(wallPercent)) {
                tile = 'o';
            }
        }
    }
    c.startX = dice.below(columns);
    c.startY = dice.below(rows);
    return c;
}

void drawGoal(Dice& dice, Case& c, const World& world) {
    const int columns = world.columns;
    const int rows = world.rows;
    const int kind = dice.below(10);
    if (kind < 4) {
        c.goalX = dice.below(columns);
        c.goalY = dice.below(rows);
    } else if (kind < 6 && !world.entities.empty()) {
        const Entity& someone = *world.entities[static_cast<std::size_t>(
            dice.below(static_cast<int>(world.entities.size())))];
        c.goalX = static_cast<int>(someone.x);
        c.goalY = static_cast<int>(someone.y);
    } else if (kind < 7) {
        c.goalX = c.startX;
        c.goalY = c.startY;
    } else if (kind < 9) {
        c.goalX = dice.between(-12, columns + 12);
        c.goalY = dice.between(-12, rows + 12);
    } else {
        c.goalX = dice.between(-500, 500);
        c.goalY = dice.between(-500, 500);
    }
}

// Soldiers of both teams, some dead, and usually the requester on the start tile.
void placeSoldiers(Dice& dice, const Case& c, World& world) {
    if (dice.chance(75)) {
        world.addEntity(dice.below(2), c.startX, c.startY);
    }
    const int soldiers = dice.below(world.columns * world.rows / 4 + 2);
    for (int i = 0; i < soldiers; ++i) {
        world.addEntity(dice.below(2), dice.below(world.columns), dice.below(world.rows));
        if (dice.chance(30)) {
            world.entities.back()->health = 0;
        }
    }
}

std::string describe(const Case& c) {
    std::ostringstream out;
    out << "start (" << c.startX << "," << c.startY << ") goal (" << c.goalX << "," << c.goalY
        << ")\n";
    for (const std::string& row : c.rows) {
        out << row << "\n";
    }
    return out.str();
}

std::unique_ptr<World> buildWorld(const Case& c) {
    auto world = makeWorld({});
    const int columns = static_cast<int>(c.rows.front().size());
    const int rows = static_cast<int>(c.rows.size());
    world->columns = columns;
    world->rows = rows;
    world->tiles.reset(columns, rows, TileKind::BaseTile);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            if (c.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == 'o') {
                world->tiles[x][y] = TileKind::Obstacle;
            }
        }
    }
    return world;
}

}  // namespace

TEST(SearchIdentity, fastSearchChoosesExactlyAsTheLiteralOpenListScan) {
    Dice dice(20240611u);
    int fallbacks = 0;
    int emptyRoutes = 0;
    for (int i = 0; i < kCases; ++i) {
        Case c = drawCase(dice);
        auto world = buildWorld(c);
        placeSoldiers(dice, c, *world);
        drawGoal(dice, c, *world);

        const Path fast(c.startX, c.startY, c.goalX, c.goalY, world->columns, world->rows,
                        world.get());
        const SearchResult literal = literalSearch(c.startX, c.startY, c.goalX, c.goalY,
                                                   world->columns, world->rows, *world);

        ASSERT_EQ(fast.goalX, literal.goalX) << "case " << i << "\n" << describe(c);
        ASSERT_EQ(fast.goalY, literal.goalY) << "case " << i << "\n" << describe(c);
        ASSERT_EQ(fast.waypoints.size(), literal.waypoints.size()) << "case " << i << "\n"
                                                                   << describe(c);
        for (std::size_t w = 0; w < fast.waypoints.size(); ++w) {
            const Waypoint& a = fast.waypoints[w];
            const Waypoint& b = literal.waypoints[w];
            ASSERT_TRUE(a.x == b.x && a.y == b.y && a.stepCost == b.stepCost)
                << "case " << i << " waypoint " << w << "\n"
                << describe(c);
        }
        fallbacks += fast.goalX != c.goalX || fast.goalY != c.goalY;
        emptyRoutes += fast.waypoints.empty();
    }
    // The cases must exercise both the fallback and the empty route, not just plain arrivals.
    EXPECT_GT(fallbacks, kCases / 10);
    EXPECT_GT(emptyRoutes, kCases / 50);
    EXPECT_LT(emptyRoutes, kCases / 2);
}
