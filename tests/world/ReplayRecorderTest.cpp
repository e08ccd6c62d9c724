#include "world/ReplayRecorder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "base/GameClock.h"
#include "support/TestWorld.h"
#include "world/BattleHash.h"
#include "world/Replay.h"
#include "world/World.h"

namespace {

Order flee() {
    Order order;
    order.kind = OrderKind::Flee;
    order.giver = kBothTeams;
    order.soldiers = {0};
    return order;
}

std::optional<Replay> readBack(const std::string& text, std::string& error) {
    std::istringstream in(text);
    return readReplay(in, error);
}

TEST(ReplayRecorder, writesAReplayThatReadsBackWithItsOrdersAndHashes) {
    // The hash holds the clock: a wall clock would move between the record and the check.
    setSimulatedClock(0);
    const auto world = makeWorld({"r...", "...b"});
    world->commandedTeams = teamBit(1);
    std::ostringstream out;
    ReplayHeader header;
    header.map = "4 2\nr...\n...b\n";
    header.hashEvery = 2;
    ReplayRecorder recorder(out, header, *world);
    recorder.order(flee(), 1);
    recorder.order(flee(), 1);
    for (int step = 1; step <= 3; ++step) {
        recorder.stepTaken(*world, step);
    }
    ASSERT_TRUE(recorder.finish(*world)) << recorder.problem();
    std::string error;
    const std::optional<Replay> replay = readBack(out.str(), error);
    ASSERT_TRUE(replay) << error;
    EXPECT_EQ(replay->header.commandedTeams, teamBit(1));
    ASSERT_EQ(replay->orders.size(), 1u);
    EXPECT_EQ(replay->orders[0].step, 1);
    EXPECT_EQ(replay->orders[0].orders.size(), 2u);
    ASSERT_EQ(replay->hashes.size(), 3u);  // steps 0, 2 and the last
    EXPECT_EQ(replay->hashes[1].step, 2);
    EXPECT_EQ(replay->hashes[2].step, 3);
    EXPECT_EQ(replay->hashes[2].hash, battleHash(*world));
    EXPECT_EQ(replay->steps, 3);
}

// Each would give a file that fights another battle than the one recorded, or is refused.
TEST(ReplayRecorder, stopsWithoutAnEndLineRatherThanWriteAWrongRecord) {
    const auto world = makeWorld({"r..b"});
    const std::vector<std::pair<std::string, void (*)(ReplayRecorder&, const World&)>> faults = {
        {"order out of step", [](ReplayRecorder& r, const World&) { r.order(flee(), 2); }},
        {"step skipped", [](ReplayRecorder& r, const World& w) { r.stepTaken(w, 2); }},
        {"order after the last step",
         [](ReplayRecorder& r, const World& w) {
             r.stepTaken(w, 1);
             r.order(flee(), 2);
         }},
        {"too many orders",
         [](ReplayRecorder& r, const World&) {
             for (std::size_t i = 0; i <= kMostOrdersPerStep; ++i) {
                 r.order(flee(), 1);
             }
         }},
    };
    for (const auto& [name, fault] : faults) {
        std::ostringstream out;
        ReplayHeader header;
        header.map = "4 1\nr..b\n";
        ReplayRecorder recorder(out, header, *world);
        fault(recorder, *world);
        EXPECT_FALSE(recorder.finish(*world)) << name;
        EXPECT_FALSE(recorder.problem().empty()) << name;
        std::string error;
        EXPECT_FALSE(readBack(out.str(), error)) << name;
        EXPECT_EQ(out.str().find("\"end\""), std::string::npos) << name;
    }
}

}  // namespace
