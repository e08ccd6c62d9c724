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
    };
    for (const auto& arguments : bad) {
        std::string error;
        EXPECT_FALSE(parseOptions(arguments, error)) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

}  // namespace
