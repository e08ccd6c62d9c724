#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/StartupNotice.h"

namespace {

namespace fs = std::filesystem;

class GameFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("dromlin-folders-" + std::to_string(getpid()));
        fs::remove_all(root);
        for (const char* folder : {"work", "own", "built"}) {
            fs::create_directories(root / folder);
        }
    }
    void TearDown() override { fs::remove_all(root); }

    GameFolderSearch search() const {
        return searchGameFolder(
            {{root / "work", "working"}, {root / "own", "own"}, {root / "built", "built"}},
            root / "work");
    }

    fs::path root;
};

TEST_F(GameFolderTest, theFirstFolderHoldingTheMapWins) {
    std::ofstream(root / "own" / kGameFolderMark) << "1 1 .";
    std::ofstream(root / "built" / kGameFolderMark) << "1 1 .";
    const GameFolderSearch found = search();
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.chosen, root / "own");
    EXPECT_EQ(found.looked.size(), 3u);
}

// A folder named like the map is no map; with none found the working folder stays.
TEST_F(GameFolderTest, withoutAMapFileTheWorkingFolderStays) {
    fs::create_directory(root / "own" / kGameFolderMark);
    const GameFolderSearch found = search();
    EXPECT_FALSE(found.found);
    EXPECT_EQ(found.chosen, root / "work");
}

TEST(StartupNoticeTest, saysNothingWhenAllLoadedAndWhatFailedOtherwise) {
    GameFolderSearch search;
    search.looked = {{"/here", "the working folder"}, {"/game", "the game's own folder"}};
    search.chosen = "/here";
    EXPECT_TRUE(startupNoticeLines({{}, 45, true, true}, search).empty());

    const std::vector<std::string> lines =
        startupNoticeLines({{"a.png", "b.png", "c.png"}, 45, false, false}, search);
    const auto has = [&](const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(has("3 of 45 pictures did not load (a.png and 2 more)."));
    EXPECT_TRUE(has("The map map1.txt is missing."));
    EXPECT_TRUE(has("    /game  (the game's own folder)"));
    EXPECT_TRUE(has("and read its files from /here."));
    EXPECT_LT(lines.size(), 20u);

    const std::vector<std::string> broken = startupNoticeLines({{}, 45, false, true}, search);
    EXPECT_NE(
        std::find(broken.begin(), broken.end(), "The map map1.txt is there but could not be read."),
        broken.end());
}

}  // namespace
