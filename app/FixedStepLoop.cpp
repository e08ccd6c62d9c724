#include "app/FixedStepLoop.h"

#include <algorithm>

#include "app/GameStateManager.h"
#include "base/GameClock.h"

FixedStepLoop::FixedStepLoop(int64_t startMicros) : origin(startMicros) {}

int FixedStepLoop::takeDueSteps(int64_t nowMicros) {
    if (nowMicros < nextStepAt()) {
        return 0;
    }
    const int64_t due = (nowMicros - origin) / kStepMicros + 1 - taken;
    const int steps = static_cast<int>(std::min<int64_t>(due, kMaxStepsPerFrame));
    taken += steps;
    if (due > kMaxStepsPerFrame) {
        // The step after these falls due one step from now, as if the machine had kept up.
        origin = nowMicros + kStepMicros - taken * kStepMicros;
    }
    return steps;
}

int64_t FixedStepLoop::nextStepAt() const {
    return origin + taken * kStepMicros;
}

void FixedStepLoop::runStep(GameStateManager& manager, int64_t step) {
    // Game time wraps after some 24 days of play rather than overflowing.
    setSimulatedClock(static_cast<int32_t>(static_cast<uint32_t>(step * kStepMs)));
    manager.update();
}
