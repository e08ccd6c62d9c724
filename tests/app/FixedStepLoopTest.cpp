#include "app/FixedStepLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Runner.h"
#include "app/GameStateManager.h"
#include "base/GameRandom.h"
#include "gfx/ResourceCatalogue.h"
#include "play/PlayFixture.h"
#include "play/ZOL_MainState.h"
#include "world/StateLine.h"

namespace {

constexpr int64_t kSecond = 1000000;

// A machine whose every frame costs `drawMicros` and that sleeps exactly as long as asked.
struct Machine {
    int64_t now = 0;
    int steps = 0;
    int frames = 0;
    std::vector<int> bursts;
    bool sleptBackwards = false;

    void run(FixedStepLoop& loop, int64_t drawMicros, int64_t until) {
        while (now < until) {
            const int due = loop.takeDueSteps(now);
            if (due == 0) {
                sleptBackwards |= loop.nextStepAt() <= now;
                now = loop.nextStepAt();
                continue;
            }
            steps += due;
            ++frames;
            bursts.push_back(due);
            now += drawMicros;
        }
    }
};

TEST(FixedStepLoop, keepsSixtyTwoAndAHalfStepsASecondWhateverAFrameCosts) {
    FixedStepLoop fast(0);
    Machine free;
    free.run(fast, 0, 10 * kSecond);
    EXPECT_EQ(free.steps, 625);
    EXPECT_EQ(free.frames, free.steps);
    EXPECT_FALSE(free.sleptBackwards);

    FixedStepLoop slow(0);
    Machine software;
    software.run(slow, 40000, 10 * kSecond);
    EXPECT_NEAR(software.steps, 625, 3);
    // After the first step, which is due at once, each 40 ms frame is followed by 2.5 steps.
    for (std::size_t i = 1; i < software.bursts.size(); ++i) {
        EXPECT_TRUE(software.bursts[i] == 2 || software.bursts[i] == 3) << software.bursts[i];
    }
}

TEST(FixedStepLoop, aMachineThatCannotKeepUpRunsFourStepsAFrameAndSlowsEvenly) {
    FixedStepLoop loop(0);
    Machine crawling;
    crawling.run(loop, 200000, 10 * kSecond);
    ASSERT_EQ(crawling.frames, 50);
    for (std::size_t i = 1; i < crawling.bursts.size(); ++i) {
        EXPECT_EQ(crawling.bursts[i], FixedStepLoop::kMaxStepsPerFrame);
    }
    // Once it is fast again, the last slow frame's four steps are the only burst: the backlog
    // is not made up.
    Machine recovered;
    recovered.now = crawling.now;
    recovered.run(loop, 0, crawling.now + kSecond);
    EXPECT_NEAR(recovered.steps, 4 + 62, 1);
    EXPECT_EQ(*std::max_element(recovered.bursts.begin() + 1, recovered.bursts.end()), 1);
}

TEST(FixedStepLoop, doesNotDriftOverTenMinutes) {
    FixedStepLoop loop(5 * kSecond);
    Machine machine;
    machine.now = 5 * kSecond;
    machine.run(loop, 7000, 5 * kSecond + 600 * kSecond);
    // Step k falls due k x 16 ms after the start: steps 0 to 37,499 before ten minutes.
    EXPECT_EQ(loop.stepsTaken(), 37500);
}

// The window's battle, paced by the loop on a machine whose frames cost 40 ms, is the battle
// the headless runner fights with the same seed at 16 ms a step.
TEST(FixedStepLoop, theWindowFightsTheHeadlessRunnersBattle) {
    constexpr int kSteps = 2000;
    constexpr unsigned kSeed = 7;
    std::ifstream shipped(std::string(DROMLIN_ASSETS_DIR) + "/map1.txt");
    std::stringstream mapText;
    mapText << shipped.rdbuf();
    const std::string map = mapText.str();

    std::string windowLine;
    inFolderWithMap(&map, [&] {
        ResourceCatalogue::instance();
        setSimulatedClock(0);
        seedGameRand(kSeed);
        GameStateManager manager;
        manager.addMainState();
        FixedStepLoop loop(0);
        int64_t now = 0;
        while (loop.stepsTaken() <= kSteps) {
            const int64_t first = loop.stepsTaken();
            const int due = loop.takeDueSteps(now);
            for (int64_t step = first; step < first + due && step <= kSteps; ++step) {
                FixedStepLoop::runStep(manager, step);
            }
            now += 40000;
        }
        const auto& play = static_cast<const ZOL_MainState&>(*manager.liveStates().front());
        windowLine = stateLine(*play.world, kSteps, kSteps * FixedStepLoop::kStepMs, true);
    });

    RunOptions options;
    options.mapFile = std::string(DROMLIN_ASSETS_DIR) + "/map1.txt";
    options.steps = kSteps;
    options.seed = kSeed;
    options.view = 0;  // the window starts in the red team's view
    std::string headlessLine;
    ASSERT_EQ(runBattle(options, [&](const std::string& line) { headlessLine = line; }), 0);
    EXPECT_EQ(windowLine, headlessLine);
}

}  // namespace
