#include "Soak.h"

#include <gtest/gtest.h>

// The short form of the soak; tools/soak.sh runs the long one.
TEST(Soak, shortSoakOfGeneratedBattlesKeepsEveryRule) {
    SoakOptions options;
    options.seed = 7;
    options.totalSteps = 3000;
    options.stepsPerBattle = 1500;
    options.limits = {.maxSide = 16, .maxSoldiers = 12};
    int dead = 0;
    const SoakSummary summary =
        runSoak(options, [&](int, const BattlePlan& plan, const BattleResult& result) {
            for (const std::string& line : result.broken) {
                ADD_FAILURE() << describe(plan) << ", after step " << result.brokenAtStep << ": "
                              << line;
            }
            dead += result.dead;
        });
    EXPECT_TRUE(summary.held);
    EXPECT_EQ(summary.battles, 2);
    EXPECT_EQ(summary.steps, 3000);
    // A soak in which nobody fires tests little.
    EXPECT_GT(summary.mostBullets, 0u);
    EXPECT_GT(dead, 0);
}

TEST(Soak, aBattleReplaysExactlyFromItsPlan) {
    BattlePlan plan = planBattle(7, 2, 400, {.maxSide = 16, .maxSoldiers = 12});
    const BattleResult first = runSoakBattle(plan);
    const BattleResult again = runSoakBattle(plan);
    EXPECT_EQ(first.dead, again.dead);
    EXPECT_EQ(first.mostBullets, again.mostBullets);
    EXPECT_EQ(first.stepsRun, 400);
}

TEST(Soak, soakStopsAtTheStepCountEvenMidBattle) {
    SoakOptions options;
    options.totalSteps = 250;
    options.stepsPerBattle = 100;
    options.limits = {.maxSide = 8, .maxSoldiers = 4};
    int battles = 0;
    const SoakSummary summary =
        runSoak(options, [&](int, const BattlePlan&, const BattleResult&) { ++battles; });
    EXPECT_EQ(summary.steps, 250);
    EXPECT_EQ(battles, 3);
}
