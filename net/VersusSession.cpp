#include "net/VersusSession.h"

#include <utility>

#include "world/BattleHash.h"
#include "world/Replay.h"
#include "world/StateLine.h"

namespace {

// The server forwards a turn once both players have sent theirs, which each does two turns
// ahead: a turn further ahead than this breaks the lockstep.
constexpr int64_t kMostTurnsAhead = kDelayTurns + 2;
// State lines kept for a report of where the hashes differed: the server answers within a turn.
constexpr std::size_t kKeptStateLines = 4;

}  // namespace

VersusSession::VersusSession(std::string room) : joining_(std::move(room)) {}

std::string VersusSession::hello() const {
    Hello hello;
    hello.game = gameVersion();
    hello.room = joining_;
    return helloMessage(hello);
}

void VersusSession::end(const std::string& line) {
    if (phase_ != Phase::Ended) {
        phase_ = Phase::Ended;
        endLine_ = line;
    }
}

void VersusSession::receive(const std::string& text) {
    if (phase_ == Phase::Ended) {
        return;
    }
    std::string error;
    const std::optional<ServerMessage> message = readServerMessage(text, error);
    if (!message) {
        end("the server sent " + error);
        return;
    }
    switch (message->kind) {
        case ServerMessage::Kind::RoomOpened:
            if (phase_ != Phase::Connecting) {
                end("the server opened a room in mid-battle");
                return;
            }
            room_ = message->opened;
            phase_ = Phase::Waiting;
            break;
        case ServerMessage::Kind::Start:
            if (phase_ == Phase::Playing) {
                end("the server started the battle twice");
                return;
            }
            start_ = message->start;
            phase_ = Phase::Playing;
            break;
        case ServerMessage::Kind::Turn:
            receiveTurn(message->turn);
            break;
        case ServerMessage::Kind::Left:
            // The turn's own orders hand the team over; this only says so beforehand, for the
            // player to be told.
            otherLeft_ = message->left;
            break;
        case ServerMessage::Kind::End:
            outOfSyncStep_ = message->end.step;
            end(message->end.reason);
            break;
        case ServerMessage::Kind::Refused:
            end(message->refused.reason);
            break;
    }
}

void VersusSession::receiveTurn(const ServerTurn& turn) {
    if (phase_ != Phase::Playing) {
        end("the server sent a turn before the battle started");
        return;
    }
    const int64_t current = steps_ / kTurnSteps;
    if (turn.turn != nextTurnFromServer_ || turn.turn > current + kMostTurnsAhead) {
        end("the server sent turn " + std::to_string(turn.turn) + " out of order");
        return;
    }
    turns_[turn.turn] = turn.orders;
    ++nextTurnFromServer_;
}

void VersusSession::connectionLost(const std::string& why) {
    end(why.empty() ? "the connection to the server was lost" : why);
}

void VersusSession::leave() {
    end("you left the battle");
}

void VersusSession::give(Order order) {
    if (phase_ != Phase::Playing || given_.size() >= kMostOrdersPerTurn) {
        return;
    }
    order.giver = teamBit(start_.team);
    given_.push_back(std::move(order));
}

bool VersusSession::mayStep() const {
    if (phase_ != Phase::Playing) {
        return false;
    }
    const int64_t turn = steps_ / kTurnSteps;
    return steps_ % kTurnSteps != 0 || turn < kDelayTurns || turns_.contains(turn);
}

std::vector<Order> VersusSession::takeTurnOrders() {
    if (steps_ % kTurnSteps != 0) {
        return {};
    }
    const auto found = turns_.find(steps_ / kTurnSteps);
    if (found == turns_.end()) {
        return {};
    }
    std::vector<Order> orders = std::move(found->second);
    turns_.erase(found);
    return orders;
}

void VersusSession::stepped(const World& world) {
    ++steps_;
    if (steps_ % kTurnSteps != 0 || phase_ != Phase::Playing) {
        return;
    }
    const int64_t finished = steps_ / kTurnSteps - 1;
    PlayerTurn message;
    message.turn = finished + kDelayTurns;
    message.orders = std::move(given_);
    given_.clear();
    message.hash = battleHash(world);
    outgoing_.push_back(playerTurnMessage(message));
    kept_.emplace_back(steps_, stateLine(world, static_cast<int>(steps_),
                                         static_cast<int32_t>(steps_ * start_.tickMs), false));
    if (kept_.size() > kKeptStateLines) {
        kept_.pop_front();
    }
}

const std::string* VersusSession::stateLineAt(int64_t step) const {
    for (const auto& [at, line] : kept_) {
        if (at == step) {
            return &line;
        }
    }
    return nullptr;
}

std::vector<std::string> VersusSession::takeOutgoing() {
    return std::exchange(outgoing_, {});
}
