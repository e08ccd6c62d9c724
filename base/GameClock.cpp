#include "base/GameClock.h"

#include <chrono>

namespace {

using SteadyClock = std::chrono::steady_clock;

const SteadyClock::time_point programStart = SteadyClock::now();
bool simulated = false;
int32_t simulatedTime = 0;

}  // namespace

int32_t gameClock() {
    if (simulated) {
        return simulatedTime;
    }
    const auto elapsed = SteadyClock::now() - programStart;
    return static_cast<int32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void setSimulatedClock(int32_t milliseconds) {
    simulated = true;
    simulatedTime = milliseconds;
}

void useWallClock() {
    simulated = false;
}
