#pragma once

#include <cstdint>

class GameStateManager;

// Paces the battle in fixed steps of game time against a steady real-time clock, so the
// battle runs at the same speed whatever a frame costs to draw. Step k falls due k x 16 ms
// after the loop started; a frame runs the steps that are due, at most four, then draws once.
// Times are microseconds of the caller's steady clock.
class FixedStepLoop {
public:
    static constexpr int kStepMs = 16;
    static constexpr int kMaxStepsPerFrame = 4;
    static constexpr int64_t kStepMicros = kStepMs * 1000;

    explicit FixedStepLoop(int64_t startMicros);

    // Counts the steps due at `now` as taken and returns how many, at most four. A machine
    // that falls further behind drops the backlog, so the whole battle slows evenly instead
    // of stalling in long bursts of catching up.
    int takeDueSteps(int64_t nowMicros);

    // When the next step falls due: until then a frame has nothing to do.
    int64_t nextStepAt() const;

    // Steps taken so far; the next one to run has this number.
    int64_t stepsTaken() const { return taken; }

    // One step of the game: the clock moves to step x 16 ms, then the manager's update.
    static void runStep(GameStateManager& manager, int64_t step);

private:
    int64_t origin;  // when step 0 fell due, moved on when a backlog is dropped
    int64_t taken = 0;
};
