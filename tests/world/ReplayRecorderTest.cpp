#include "world/ReplayRecorder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/TestWorld.h"
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
