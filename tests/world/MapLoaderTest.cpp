#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ai/Entity.h"
#include "support/TestWorld.h"

namespace {

// Files named after the test and numbered, so test programs running side by side and cases
// within one test never share a file.
std::string writeMap(const std::string& text) {
    static int written = 0;
    const std::string path = testing::TempDir() + "map_" +
                             testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                             std::to_string(++written) + ".txt";
    std::ofstream(path) << text;
    return path;
}

struct Soldier {
    int team, x, y;
    bool operator==(const Soldier&) const = default;
};

std::vector<Soldier> soldiers(const World& world) {
    std::vector<Soldier> found;
    for (const Entity* e : world.entities) {
        found.push_back({e->team, static_cast<int>(e->x), static_cast<int>(e->y)});
    }
    return found;
}

std::vector<int> tileKinds(const World& world) {
    std::vector<int> kinds;
    for (int x = 0; x < world.tiles.columns(); ++x) {
        for (int y = 0; y < world.tiles.rows(); ++y) {
            kinds.push_back(world.tiles[x][y]);
        }
    }
    return kinds;
}

}  // namespace

TEST(MapLoader, lineBreaksAndBlanksDoNotChangeTheMap) {
    World lines;
    World oneLine;
    World blanks;
    ASSERT_TRUE(lines.loadMap(writeMap("4 2\nr..o\noo.b\n")));
    ASSERT_TRUE(oneLine.loadMap(writeMap("4\n2 r..ooo.b")));
    ASSERT_TRUE(blanks.loadMap(writeMap("4 2 r . .\to\n\no o . b trailing junk")));
    EXPECT_EQ(lines.columns, 4);
    EXPECT_EQ(lines.rows, 2);
    EXPECT_EQ(tileKinds(lines), (std::vector<int>{1, 2, 1, 2, 1, 1, 2, 1}));
    EXPECT_EQ(soldiers(lines), (std::vector<Soldier>{{0, 0, 0}, {1, 3, 1}}));
    for (const World* other : {&oneLine, &blanks}) {
        EXPECT_EQ(tileKinds(*other), tileKinds(lines));
        EXPECT_EQ(soldiers(*other), soldiers(lines));
    }
}

TEST(MapLoader, unknownAndUpperCaseCellsAreOpenFloor) {
    World world;
    ASSERT_TRUE(world.loadMap(writeMap("6 1 RBOx9.")));
    EXPECT_EQ(tileKinds(world), std::vector<int>(6, TileKind::BaseTile));
    EXPECT_TRUE(world.entities.empty());
}

TEST(MapLoader, resetsCameraAndFogToTheMapSize) {
    World wide;
    wide.zoom = 0.3;
    wide.redKnownTiles[0][0] = 1;
    ASSERT_TRUE(wide.loadMap(writeMap("40 25 " + std::string(1000, '.'))));
    EXPECT_EQ(wide.zoom, 1.0);
    EXPECT_EQ(wide.cameraX, 20.0);
    EXPECT_EQ(wide.cameraY, 12.0);
    EXPECT_EQ(wide.redKnownTiles[0][0], 0);
    World narrow;
    ASSERT_TRUE(narrow.loadMap(writeMap("30 11 " + std::string(330, '.'))));
    EXPECT_EQ(narrow.cameraX, 15.0);
    EXPECT_EQ(narrow.cameraY, 5.0);
    EXPECT_EQ(narrow.redFog[29][10], 1.0);
}

TEST(MapLoader, shortBodyLeavesFloorAndKeepsSoldiersReadSoFar) {
    World world;
    ASSERT_TRUE(world.loadMap(writeMap("3 3 o r\n b")));
    EXPECT_EQ(world.columns, 3);
    EXPECT_EQ(world.tileKind(0, 0), TileKind::Obstacle);
    EXPECT_EQ(world.tileKind(2, 2), TileKind::BaseTile);
    EXPECT_EQ(soldiers(world), (std::vector<Soldier>{{0, 1, 0}, {1, 2, 0}}));
}

TEST(MapLoader, badFileLeavesTheWorldAsItWasAndSaysWhy) {
    const std::string missing = testing::TempDir() + "no_such_map.txt";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {missing, ": cannot open\n"},
        {writeMap(""), ": the header is not two numbers\n"},
        {writeMap("forty 25 ..."), ": the header is not two numbers\n"},
        {writeMap("40"), ": the header is not two numbers\n"},
        {writeMap("99999999999 2 ..."), ": the header is not two numbers\n"},
        {writeMap("0 5 ....."), ": size 0 x 5 is outside 1..1024\n"},
        {writeMap("-3 -4 ."), ": size -3 x -4 is outside 1..1024\n"},
        {writeMap("1025 1 ."), ": size 1025 x 1 is outside 1..1024\n"},
        {writeMap("2000000000 2000000000 r"),
         ": size 2000000000 x 2000000000 is outside 1..1024\n"},
    };
    for (const auto& [file, reason] : cases) {
        auto world = makeWorld({"r.o", "..b"});
        world->zoom = 0.5;
        const std::vector<int> before = tileKinds(*world);
        testing::internal::CaptureStdout();
        EXPECT_FALSE(world->loadMap(file));
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(said, file + reason);
        EXPECT_EQ(tileKinds(*world), before);
        EXPECT_EQ(world->columns, 3);
        EXPECT_EQ(world->redFog.columns(), 3);
        EXPECT_EQ(world->zoom, 0.5);
        EXPECT_EQ(world->entities.size(), 2u);
    }
}

TEST(MapLoader, secondLoadReplacesTheSoldiersButKeepsThemAllocated) {
    auto world = makeWorld({"r....", "....b"});
    ASSERT_TRUE(world->loadMap(writeMap("2 1 .b")));
    EXPECT_EQ(soldiers(*world), (std::vector<Soldier>{{1, 1, 0}}));
    EXPECT_EQ(world->roster.size(), 3u);
}

namespace {

// Open tiles reached from (x, y), stepping as soldiers do: eight ways, but never diagonally past
// the corner of a wall.
int reachableOpenTiles(const World& world, int x, int y) {
    const auto open = [&](int i, int j) {
        return world.tiles.contains(i, j) && world.tiles[i][j] != TileKind::Obstacle;
    };
    Grid<int> seen(world.columns, world.rows, 0);
    seen[x][y] = 1;
    std::vector<std::pair<int, int>> todo = {{x, y}};
    int reached = 1;
    while (!todo.empty()) {
        const auto [i, j] = todo.back();
        todo.pop_back();
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                const bool cutsCorner =
                    dx != 0 && dy != 0 && (!open(i + dx, j) || !open(i, j + dy));
                if (open(i + dx, j + dy) && !seen[i + dx][j + dy] && !cutsCorner) {
                    seen[i + dx][j + dy] = 1;
                    ++reached;
                    todo.push_back({i + dx, j + dy});
                }
            }
        }
    }
    return reached;
}

}  // namespace

TEST(MapLoader, shippedMapIsAFairConnectedBattlefield) {
    World world;
    ASSERT_TRUE(world.loadMap(DROMLIN_ASSETS_DIR "/map1.txt"));
    ASSERT_EQ(world.columns, 40);
    ASSERT_EQ(world.rows, 25);
    int soldiersOf[2] = {0, 0};
    for (const auto& [team, x, y] : soldiers(world)) {
        ++soldiersOf[team];
        EXPECT_EQ(x < world.columns / 2, team == Team::Red) << x << "," << y;
    }
    EXPECT_EQ(soldiersOf[Team::Red], soldiersOf[Team::Blue]);
    EXPECT_GE(soldiersOf[Team::Red], 6);
    EXPECT_LE(soldiersOf[Team::Red], 8);
    int openTiles = 0;
    for (const int kind : tileKinds(world)) {
        openTiles += kind != TileKind::Obstacle;
    }
    const Soldier first = soldiers(world).at(0);
    EXPECT_EQ(reachableOpenTiles(world, first.x, first.y), openTiles);
}
