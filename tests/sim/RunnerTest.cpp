#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Runner.h"
#include "ai/Entity.h"
#include "world/World.h"

namespace {

// Named after the running test, as the tests may run side by side.
std::string writeMap(const std::string& text) {
    const std::string path = ::testing::TempDir() + "dromlin_runner_" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".txt";
    std::ofstream(path) << text;
    return path;
}

RunOptions optionsFor(const std::string& map, int steps) {
    RunOptions options;
    options.mapFile = map;
    options.steps = steps;
    return options;
}

int deadCount(const World& world) {
    int dead = 0;
    for (const auto& soldier : world.roster) {
        dead += soldier->health <= 0 ? 1 : 0;
    }
    return dead;
}

// What must hold after every step, whatever the soldiers decided.
void expectSoundBattlefield(const World& world, int step) {
    for (const auto& e : world.roster) {
        const int x = static_cast<int>(e->x);
        const int y = static_cast<int>(e->y);
        ASSERT_TRUE(x == e->x && y == e->y && world.tiles.contains(x, y)) << "step " << step;
        ASSERT_NE(world.tiles[x][y], TileKind::Obstacle) << "step " << step;
        for (const Weapon* gun : {e->primaryWeapon.get(), e->secondaryWeapon.get()}) {
            ASSERT_TRUE(gun->rounds >= 0 && gun->rounds <= gun->magazineSize) << "step " << step;
        }
        for (const int spare : e->spareRounds) {
            ASSERT_GE(spare, 0) << "step " << step;
        }
        for (const auto& other : world.roster) {
            ASSERT_FALSE(other != e && other->health > 0 && e->health > 0 && other->x == e->x &&
                         other->y == e->y)
                << "two living soldiers share a tile at step " << step;
        }
    }
}

const char* const kDuel =
    "12 5\n"
    "............\n"
    "............\n"
    "..r......b..\n"
    "............\n"
    "............\n";

TEST(Runner, duelOnOpenGroundEndsWithOneSoldierDead) {
    Battle battle(optionsFor(writeMap(kDuel), 0));
    ASSERT_TRUE(battle.load());
    int step = 0;
    while (deadCount(battle.world()) == 0 && step < 4000) {
        battle.step(++step);
        expectSoundBattlefield(battle.world(), step);
    }
    EXPECT_EQ(deadCount(battle.world()), 1) << "after " << step << " steps";
}

// The wall runs corner to corner. Sight slips between its diagonal tiles, so each side spots
// the other and wants to get at it, but no step can cross.
TEST(Runner, teamsBehindAnUnbrokenWallKeepPlanningTowardUnreachableGoals) {
    std::string map = "14 14\n";
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) {
            const bool red = (x == 3 && y == 3) || (x == 5 && y == 4) || (x == 2 && y == 6);
            const bool blue = (x == 10 && y == 10) || (x == 8 && y == 11) || (x == 11 && y == 7);
            map += x + y == 13 ? 'o' : red ? 'r' : blue ? 'b' : '.';
        }
        map += '\n';
    }
    Battle battle(optionsFor(writeMap(map), 0));
    ASSERT_TRUE(battle.load());
    int goalsBeyondTheWall = 0;
    for (int step = 1; step <= 3000; ++step) {
        battle.step(step);
        expectSoundBattlefield(battle.world(), step);
        for (const auto& e : battle.world().roster) {
            const bool redSide = e->x + e->y < 13;
            ASSERT_EQ(redSide, e->team == Team::Red) << "crossed the wall at step " << step;
            goalsBeyondTheWall += e->goalX >= 0 && (e->goalX + e->goalY < 13) != redSide;
        }
    }
    EXPECT_GT(goalsBeyondTheWall, 1000);
}

TEST(Runner, sameMapSeedAndTickReplayByteForByte) {
    RunOptions options = optionsFor(writeMap(kDuel), 1800);
    options.trace = true;
    options.seed = 5;
    std::vector<std::string> runs[2];
    for (auto& lines : runs) {
        const int status =
            runBattle(options, [&lines](const std::string& l) { lines.push_back(l); });
        EXPECT_EQ(status, 0);
    }
    ASSERT_EQ(runs[0].size(), 1801u);
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(
        runs[0].back().rfind("{\"step\": 1800, \"time\": 28800, \"entities\": [{\"id\": 0", 0), 0u);
}

TEST(Runner, mapThatCannotBeLoadedEndsWithStatusTwoAndNoLines) {
    int lines = 0;
    const RunOptions options = optionsFor(::testing::TempDir() + "dromlin_no_such_map.txt", 5);
    EXPECT_EQ(runBattle(options, [&lines](const std::string&) { ++lines; }), 2);
    EXPECT_EQ(lines, 0);
}

TEST(Runner, shippedMapRunsTwentyThousandSteps) {
    Battle battle(optionsFor(DROMLIN_ASSETS_DIR "/map1.txt", 0));
    ASSERT_TRUE(battle.load());
    for (int step = 1; step <= 20000; ++step) {
        battle.step(step);
        if (step % 100 == 0) {
            expectSoundBattlefield(battle.world(), step);
        }
    }
    EXPECT_GT(deadCount(battle.world()), 0);
}

}  // namespace
