#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "world/Order.h"

struct World;

// The messages of a two-player battle (docs/versus.md): JSON text, one object per WebSocket
// message, between each player and the server that hosts the battle.

constexpr int32_t kProtocolVersion = 1;
// A turn: the steps the players take between two exchanges of orders.
constexpr int32_t kTurnSteps = 6;
// Orders given during turn T are carried out at the start of turn T + kDelayTurns.
constexpr int32_t kDelayTurns = 2;
// What the server reads from a player, at most; a start message from the server carries a
// whole map and may be larger.
constexpr std::size_t kMostPlayerMessageBytes = 64u << 10;
constexpr std::size_t kMostServerMessageBytes = 16u << 20;
constexpr std::size_t kMostOrdersPerTurn = 64;
// A message nests four deep at most (the message, its orders, an order, its soldiers).
constexpr int kMostMessageNesting = 6;
constexpr std::size_t kRoomCodeLength = 10;

// The first step of turn `turn` and its last, counting steps from 1 and turns from 0.
constexpr int64_t firstStepOfTurn(int64_t turn) {
    return turn * kTurnSteps + 1;
}
constexpr int64_t lastStepOfTurn(int64_t turn) {
    return (turn + 1) * kTurnSteps;
}

// A player to the server.
struct Hello {
    int32_t protocol = kProtocolVersion;
    std::string game;  // gameVersion(): only the same game fights the same battle
    std::string room;  // empty: open a room
};
struct PlayerTurn {
    int64_t turn = 0;  // the turn whose start these orders are for, from kDelayTurns
    std::vector<Order> orders;
    uint64_t hash = 0;  // the battle after the last step of turn `turn - kDelayTurns`
};

// The server to a player.
struct RoomOpened {
    std::string room;
    std::string link;  // the page that joins it
};
struct BattleStart {
    int team = 0;  // the player's own team: 0 red (who opened the room), 1 blue
    std::string room;
    std::string map;  // the map file's text, byte for byte
    uint32_t seed = 1;
    int32_t tickMs = 16;
    int32_t turnSteps = kTurnSteps;
    int32_t delayTurns = kDelayTurns;
};
struct ServerTurn {
    int64_t turn = 0;
    std::vector<Order> orders;  // red's, then blue's, then the server's own
};
struct PlayerLeft {
    int team = 0;
    int64_t turn = 0;  // from the start of this turn the team fights on its own
};
struct BattleEnd {
    std::string reason;  // one line: "out of sync at step 1206", ...
    int64_t step = 0;    // out of sync: the step whose hashes differ; else 0
};
struct Refused {
    std::string reason;
};

std::string helloMessage(const Hello& hello);
std::string playerTurnMessage(const PlayerTurn& turn);
std::string roomOpenedMessage(const RoomOpened& opened);
std::string battleStartMessage(const BattleStart& start);
std::string serverTurnMessage(const ServerTurn& turn);
std::string playerLeftMessage(const PlayerLeft& left);
std::string battleEndMessage(const BattleEnd& end);
std::string refusedMessage(const Refused& refused);

// A message as read: the kind it had, and its fields. Every field is checked for its type and
// range and no field beyond its kind's is taken. Orders are checked only on their own here
// (their form and ranges); whether they fit the battle is the reader's to check.
struct PlayerMessage {
    enum class Kind { Hello, Turn } kind = Kind::Hello;
    Hello hello;
    PlayerTurn turn;
};
struct ServerMessage {
    enum class Kind { RoomOpened, Start, Turn, Left, End, Refused } kind = Kind::Refused;
    RoomOpened opened;
    BattleStart start;
    ServerTurn turn;
    PlayerLeft left;
    BattleEnd end;
    Refused refused;
};

// On a fault these return nothing and set `error` to one line saying what is wrong.
std::optional<PlayerMessage> readPlayerMessage(const std::string& text, std::string& error);
std::optional<ServerMessage> readServerMessage(const std::string& text, std::string& error);

// Whether a room code has the form the server gives: kRoomCodeLength letters and digits of the
// code alphabet.
bool isRoomCode(const std::string& code);
// A room code of 50 bits (the low ones of `bits`), in an alphabet without look-alikes.
std::string roomCodeOf(uint64_t bits);

// What keeps an order from being given by the player of `team` in a versus battle, or an
// empty string when it may: kinds beyond the soldiers' own orders and the walls, a giver
// other than the team, a soldier of the other team, anything off the battle (orderProblem).
std::string versusOrderProblem(const World& world, const Order& order, int team);
