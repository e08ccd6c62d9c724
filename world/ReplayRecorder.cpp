#include "world/ReplayRecorder.h"

#include <limits>
#include <ostream>
#include <utility>

#include "world/BattleHash.h"
#include "world/World.h"

ReplayRecorder::ReplayRecorder(std::ostream& out, ReplayHeader header, const World& world)
    : out_(out), hashEvery_(header.hashEvery) {
    header.commandedTeams = world.commandedTeams;
    out_ << replayHeaderLine(header) << '\n';
    out_ << replayHashLine({0, battleHash(world)}) << '\n';
    pending_.step = 1;
    if (hashEvery_ < 1) {
        stop("a hash interval of " + std::to_string(hashEvery_) + " steps");
    }
}

void ReplayRecorder::stop(const std::string& why) {
    if (problem_.empty()) {
        problem_ = why;
    }
}

void ReplayRecorder::order(const Order& order, int64_t step) {
    if (stopped()) {
        return;
    }
    if (step != int64_t{taken_} + 1) {
        stop("an order for step " + std::to_string(step) + " after step " + std::to_string(taken_));
        return;
    }
    if (pending_.orders.size() >= kMostOrdersPerStep) {
        stop("more than " + std::to_string(kMostOrdersPerStep) + " orders before step " +
             std::to_string(step));
        return;
    }
    pending_.orders.push_back(order);
}

void ReplayRecorder::stepTaken(const World& world, int64_t step) {
    if (stopped()) {
        return;
    }
    if (step != int64_t{taken_} + 1 || taken_ == std::numeric_limits<int32_t>::max()) {
        stop("step " + std::to_string(step) + " taken after step " + std::to_string(taken_));
        return;
    }
    taken_ += 1;
    if (!pending_.orders.empty()) {
        out_ << replayOrdersLine(pending_) << '\n';
        pending_.orders.clear();
    }
    pending_.step = taken_ + 1;
    if (taken_ % hashEvery_ == 0) {
        out_ << replayHashLine({taken_, battleHash(world)}) << '\n';
        hashedStep_ = taken_;
    }
}

bool ReplayRecorder::finish(const World& world) {
    if (!pending_.orders.empty()) {
        // Their effect is in the World, yet a replay can give no order after its last step.
        stop(std::to_string(pending_.orders.size()) + " orders given after the last step, " +
             std::to_string(taken_));
    }
    if (stopped()) {
        return false;
    }
    if (hashedStep_ != taken_) {
        out_ << replayHashLine({taken_, battleHash(world)}) << '\n';
    }
    out_ << replayEndLine(taken_) << '\n';
    out_.flush();
    if (!out_.good()) {
        stop("the replay could not be written");
        return false;
    }
    stop("the replay has ended");
    return true;
}
