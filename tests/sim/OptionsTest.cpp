#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Options.h"

namespace {

TEST(Options, flagsGoAnywhereAroundTheMapAndUnsetOnesKeepTheirDefaults) {
    std::string error;
    const auto options =
        parseOptions({"--trace", "--seed", "4294967295", "m.txt", "--view", "0"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->mapFile, "m.txt");
    EXPECT_EQ(options->seed, 4294967295u);
    EXPECT_EQ(options->view, 0);
    EXPECT_TRUE(options->trace);
    EXPECT_EQ(options->steps, 1000);
    EXPECT_EQ(options->tickMs, 16);
}

TEST(Options, badArgumentsAreRefusedWithAOneLineReason) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"a.txt", "b.txt"},
        {"a.txt", "--steps"},
        {"a.txt", "--steps", "-5"},
        {"a.txt", "--steps", "12x"},
        {"a.txt", "--seed", "4294967296"},
        {"a.txt", "--view", "3"},
        {"a.txt", "--fast"},
        {"a.txt", "--steps", "2147483647", "--tick-ms", "2"},  // the clock is 32 bits
        {"a.txt", "--record"},
        {"a.txt", "--orders", ""},
        {"--replay", "r.jsonl", "a.txt"},  // a replay brings its map and settings
        {"--replay", "r.jsonl", "--seed", "2"},
        {"--replay", "r.jsonl", "--record", "s.jsonl"},
        {"--replay", "r.jsonl", "--steps", "5"},
        {"--connect"},
        {"--connect", "h:1", "m.txt"},  // the server brings the battle
        {"--connect", "h:1", "--seed", "2"},
        {"--connect", "h:1", "--replay", "r.jsonl"},
        {"--connect", "h:1", "--bot", "smart"},
        {"m.txt", "--room", "abc"},  // a bot's flag without a server
        {"m.txt", "--nudge-step", "5"},
    };
    for (const auto& arguments : bad) {
        std::string error;
        EXPECT_FALSE(parseOptions(arguments, error)) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST(Options, aReplayTakesOnlyTheTraceBesideIt) {
    std::string error;
    const auto options = parseOptions({"--trace", "--replay", "r.jsonl"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->replayFile, "r.jsonl");
    EXPECT_TRUE(options->trace);
    const auto recorded =
        parseOptions({"m.txt", "--orders", "o.txt", "--record", "r.jsonl"}, error);
    ASSERT_TRUE(recorded) << error;
    EXPECT_EQ(recorded->ordersFile, "o.txt");
    EXPECT_EQ(recorded->recordFile, "r.jsonl");
}

TEST(Options, aBotTakesItsServerRoomSeedsAndTestFlags) {
    std::string error;
    const auto options = parseOptions(
        {"--connect", "127.0.0.1:8080", "--room", "abc", "--bot", "random", "--bot-seed", "9",
         "--steps", "30", "--trace", "--pace", "--delay-report", "--nudge-step", "12"},
        error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->connect, "127.0.0.1:8080");
    EXPECT_EQ(options->room, "abc");
    EXPECT_EQ(options->botSeed, 9u);
    EXPECT_EQ(options->steps, 30);
    EXPECT_EQ(options->nudgeStep, 12);
    EXPECT_TRUE(options->trace && options->pace && options->delayReport);
}

}  // namespace
