#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Options.h"

namespace {

std::optional<RunOptions> parse(const std::vector<std::string>& arguments, std::string& error) {
    return parseOptions(arguments, error);
}

TEST(Options, mapAloneTakesTheDefaults) {
    std::string error;
    const auto options = parse({"map1.txt"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->mapFile, "map1.txt");
    EXPECT_EQ(options->steps, 1000);
    EXPECT_EQ(options->seed, 1u);
    EXPECT_EQ(options->tickMs, 16);
    EXPECT_EQ(options->view, 2);
    EXPECT_FALSE(options->trace);
}

TEST(Options, everyFlagInAnyOrderAroundTheMap) {
    std::string error;
    const auto options = parse({"--trace", "--seed", "4294967295", "field.txt", "--steps", "0",
                                "--tick-ms", "33", "--view", "0"},
                               error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->mapFile, "field.txt");
    EXPECT_EQ(options->steps, 0);
    EXPECT_EQ(options->seed, 4294967295u);
    EXPECT_EQ(options->tickMs, 33);
    EXPECT_EQ(options->view, 0);
    EXPECT_TRUE(options->trace);
}

TEST(Options, badArgumentsAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--steps", "5"},
        {"a.txt", "b.txt"},
        {"a.txt", "--steps"},
        {"a.txt", "--steps", "-5"},
        {"a.txt", "--steps", "12x"},
        {"a.txt", "--steps", ""},
        {"a.txt", "--steps", "99999999999999999999999"},
        {"a.txt", "--seed", "4294967296"},
        {"a.txt", "--view", "3"},
        {"a.txt", "--tick-ms", "1.5"},
        {"a.txt", "--fast"},
        // The last step's time must fit the 32-bit millisecond clock.
        {"a.txt", "--steps", "2147483647", "--tick-ms", "2"},
    };
    for (const auto& arguments : bad) {
        std::string error;
        EXPECT_FALSE(parse(arguments, error)) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty()) << ::testing::PrintToString(arguments);
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

TEST(Options, largestClockThatFitsIsAccepted) {
    std::string error;
    const auto options = parse({"a.txt", "--steps", "2147483647", "--tick-ms", "1"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->steps, 2147483647);
}

}  // namespace
