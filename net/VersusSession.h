#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "net/Protocol.h"
#include "world/Order.h"

struct World;

// One player's side of a two-player battle, without the connection: what to send the server,
// what its messages mean, and when the battle may take its next step. The caller owns the
// World and the connection; it hands every message from the server to `receive`, sends what
// `takeOutgoing` gives, and around each step of the World asks `mayStep`, applies
// `takeTurnOrders` and reports `stepped`.
//
// Lockstep: turn T is steps 6T + 1 to 6T + 6. The orders the player gives during turn T are
// sent, at its end, for turn T + 2, together with the battle's hash after turn T. The battle
// steps into a turn only with that turn's orders from the server (turns 0 and 1 have none).
class VersusSession {
public:
    enum class Phase {
        Connecting,  // the hello is sent, nothing heard yet
        Waiting,     // a room is open; the other player has not come
        Playing,     // started: the battle is the caller's to load from `start()`
        Ended        // for good: `endLine()` says why
    };

    // `room` empty: open a room; else join that one.
    explicit VersusSession(std::string room);

    // The first message, to be sent as soon as the connection is open.
    std::string hello() const;

    // One message from the server. A message that does not read, or that breaks the lockstep
    // (a turn out of order or too far ahead), ends the session.
    void receive(const std::string& text);
    // The connection is gone; `why` is one line, or empty when it closed without saying.
    void connectionLost(const std::string& why);
    // The player gives up the battle.
    void leave();

    Phase phase() const { return phase_; }
    const RoomOpened& room() const { return room_; }
    const BattleStart& start() const { return start_; }
    int team() const { return start_.team; }
    // Why the session ended, as one line for the screen and standard error.
    const std::string& endLine() const { return endLine_; }
    // The step whose hashes differed, when that ended it; else 0.
    int64_t outOfSyncStep() const { return outOfSyncStep_; }
    // The server's word that the other player left, once it came: the battle goes on.
    const std::optional<PlayerLeft>& otherLeft() const { return otherLeft_; }

    // A player's order, sent with the others of this turn. Its giver becomes the player's
    // team; the server carries it out for both players at the turn it is sent for.
    void give(Order order);

    // Whether the next step may be taken: playing, and its turn's orders are here (they are
    // needed only before a turn's first step).
    bool mayStep() const;
    // The orders to carry out before the next step: a turn's, before its first step (and then
    // only once); none before any other step.
    std::vector<Order> takeTurnOrders();
    // The next step has been taken (and its fog computed); at a turn's end the turn's message
    // is queued, and the battle's state line is kept for a report should the hashes differ.
    void stepped(const World& world);
    int64_t stepsTaken() const { return steps_; }
    // The state line kept for a turn's last step, if it is still kept (the last few turns).
    const std::string* stateLineAt(int64_t step) const;

    // The messages to send, in order, since the last call.
    std::vector<std::string> takeOutgoing();

private:
    void end(const std::string& line);
    void receiveTurn(const ServerTurn& turn);

    Phase phase_ = Phase::Connecting;
    std::string joining_;
    RoomOpened room_;
    BattleStart start_;
    std::string endLine_;
    int64_t outOfSyncStep_ = 0;
    std::optional<PlayerLeft> otherLeft_;

    int64_t steps_ = 0;
    int64_t nextTurnFromServer_ = kDelayTurns;
    std::map<int64_t, std::vector<Order>> turns_;  // received, not yet carried out
    std::vector<Order> given_;                     // for the next message
    std::deque<std::pair<int64_t, std::string>> kept_;
    std::vector<std::string> outgoing_;
};
