#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "world/Replay.h"

struct World;

// Writes a replay as a battle is fought elsewhere: by whoever steps the World and gives its
// orders (the play state, a server), rather than by the headless runner's own loop. The
// caller says what happened in the order it happened: each order with the step it comes
// before, each step once taken. The hash lines come from the caller's World.
//
// Nothing is written that a reader would refuse or that would not fight the same battle
// again: an order or a step out of sequence, more orders before one step than a replay
// holds, or orders given after the last step stop the recording, and the file then has no end
// line, so it reads as cut short.
class ReplayRecorder {
public:
    // Writes the header and the hash of the battle as loaded (step 0). `header.commandedTeams`
    // is taken from `world`.
    ReplayRecorder(std::ostream& out, ReplayHeader header, const World& world);

    // An order, carried out before step `step`: the one after the last step taken.
    void order(const Order& order, int64_t step);
    // Step `step` was taken, the one after the last; its hash is written when it is due.
    void stepTaken(const World& world, int64_t step);
    // Ends the replay after the last step taken: its hash, unless written, and the end line.
    // False, with nothing more written, when the recording stopped or the stream failed;
    // `problem` then says why.
    bool finish(const World& world);

    bool stopped() const { return !problem_.empty(); }
    const std::string& problem() const { return problem_; }
    int32_t stepsTaken() const { return taken_; }

private:
    void stop(const std::string& why);

    std::ostream& out_;
    int32_t hashEvery_;
    int32_t taken_ = 0;
    int32_t hashedStep_ = 0;
    StepOrders pending_;
    std::string problem_;
};
