#include "net/Host.h"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <utility>

#include "base/Problem.h"
#include "world/BattleHash.h"
#include "world/Replay.h"
#include "world/World.h"

namespace {

const char* const kTeamNames[] = {"red", "blue"};

bool isPlainText(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

Host::Host(Settings settings) : settings_(std::move(settings)), battle_(std::make_unique<World>()) {
    std::istringstream map(settings_.map);
    if (settings_.map.size() > kMostMapBytes) {
        problem_ = settings_.mapName + ": larger than " + std::to_string(kMostMapBytes) + " bytes";
    } else if (!isPlainText(settings_.map)) {
        // A message is UTF-8: other bytes would reach the players changed.
        problem_ = settings_.mapName + ": a map of bytes beyond ASCII";
    } else if (!battle_->loadMap(map, settings_.mapName)) {
        problem_ = settings_.mapName + ": the map does not load";
    }
}

Host::~Host() = default;

void Host::send(ConnectionId id, std::string text) {
    deliveries_.push_back({id, std::move(text), false, {}});
}

std::vector<Host::Delivery> Host::takeDeliveries() {
    return std::exchange(deliveries_, {});
}

void Host::connected(ConnectionId id, const std::string& site, int64_t nowMs) {
    connections_[id] = Connection{site, nowMs, {}, -1};
}

void Host::received(ConnectionId id, const std::string& text, int64_t nowMs) {
    const auto found = connections_.find(id);
    if (found == connections_.end()) {
        return;
    }
    std::string error;
    std::optional<PlayerMessage> message = readPlayerMessage(text, error);
    if (!message) {
        refuse(id, error);
    } else if (message->kind == PlayerMessage::Kind::Hello) {
        hello(id, found->second, message->hello, nowMs);
    } else {
        turn(id, found->second, std::move(message->turn), nowMs);
    }
    dropEndedRooms();
}

void Host::hello(ConnectionId id, Connection& connection, const Hello& hello, int64_t nowMs) {
    if (!connection.room.empty()) {
        refuse(id, "a second hello");
    } else if (!ready()) {
        refuse(id, "this server has no battle to offer: " + problem_);
    } else if (hello.protocol != kProtocolVersion) {
        refuse(id, "protocol " + std::to_string(hello.protocol) + ": this server speaks " +
                       std::to_string(kProtocolVersion));
    } else if (hello.game != gameVersion()) {
        refuse(id, "game " + printableExcerpt(hello.game) + ": this server hosts " + gameVersion() +
                       ", and only the same game fights the same battle");
    } else if (hello.room.empty()) {
        openRoom(id, connection, nowMs);
    } else {
        joinRoom(id, connection, hello.room, nowMs);
    }
}

void Host::openRoom(ConnectionId id, Connection& connection, int64_t nowMs) {
    std::string code;
    do {
        code = roomCodeOf(settings_.randomBits());
    } while (rooms_.contains(code));
    Room& room = rooms_[code];
    room.code = code;
    room.seats[0] = Seat{id, true, nowMs, kDelayTurns, {}};
    connection.room = code;
    connection.seat = 0;
    send(id, roomOpenedMessage({code, connection.site + "/versus.html#" + code}));
}

void Host::joinRoom(ConnectionId id, Connection& connection, const std::string& code,
                    int64_t nowMs) {
    const auto found = rooms_.find(code);
    if (found == rooms_.end() || found->second.ended) {
        refuse(id, "there is no room " + code);
        return;
    }
    Room& room = found->second;
    if (room.started) {
        refuse(id, "room " + code + " is full");
        return;
    }
    room.seats[1] = Seat{id, true, nowMs, kDelayTurns, {}};
    connection.room = code;
    connection.seat = 1;
    startBattle(room, nowMs);
}

void Host::startBattle(Room& room, int64_t nowMs) {
    room.started = true;
    room.seed = static_cast<uint32_t>(settings_.randomBits());
    BattleStart start;
    start.room = room.code;
    start.map = settings_.map;
    start.seed = room.seed;
    for (int team = 0; team < 2; ++team) {
        start.team = team;
        room.seats[team].lastHeardMs = nowMs;
        send(room.seats[team].connection, battleStartMessage(start));
    }
    if (settings_.openReplay) {
        room.replay = settings_.openReplay(room.code);
    }
    ReplayHeader header;
    header.map = settings_.map;
    header.seed = room.seed;
    header.tickMs = start.tickMs;
    header.commandedTeams = kBothTeams;
    header.hashEvery = kTurnSteps;
    writeLine(room, replayHeaderLine(header));
}

void Host::writeLine(Room& room, const std::string& line) {
    if (room.replay) {
        *room.replay << line << '\n';
    }
}

void Host::turn(ConnectionId id, const Connection& connection, PlayerTurn turn, int64_t nowMs) {
    const auto found = rooms_.find(connection.room);
    if (found == rooms_.end() || !found->second.started) {
        refuse(id, "a turn before the battle started");
        return;
    }
    Room& room = found->second;
    Seat& seat = room.seats[connection.seat];
    // A player sends turn T + 2 at the end of turn T, which it took with turn T's orders.
    if (turn.turn != seat.nextTurn || turn.turn > room.nextForward + 1) {
        refuse(id, "turn " + std::to_string(turn.turn) + " out of order: turn " +
                       std::to_string(seat.nextTurn) + " was due");
        return;
    }
    for (const Order& order : turn.orders) {
        const std::string problem = versusOrderProblem(*battle_, order, connection.seat);
        if (!problem.empty()) {
            refuse(id, "turn " + std::to_string(turn.turn) + ": " + problem);
            return;
        }
    }
    seat.lastHeardMs = nowMs;
    ++seat.nextTurn;
    seat.turns.emplace(turn.turn, std::move(turn));
    forward(room);
}

// Forwards every turn that all players still in the battle have sent, in turn order.
void Host::forward(Room& room) {
    while (!room.ended) {
        const int64_t next = room.nextForward;
        bool anyone = false;
        for (const Seat& seat : room.seats) {
            if (seat.present && !seat.turns.contains(next)) {
                return;
            }
            anyone = anyone || seat.present;
        }
        if (!anyone || !checkHashes(room, next)) {
            return;
        }
        ServerTurn turn{next, {}};
        for (Seat& seat : room.seats) {
            const auto mine = seat.turns.find(next);
            if (mine != seat.turns.end()) {
                turn.orders.insert(turn.orders.end(), mine->second.orders.begin(),
                                   mine->second.orders.end());
                seat.turns.erase(mine);
            }
        }
        turn.orders.insert(turn.orders.end(), room.handOver.begin(), room.handOver.end());
        room.handOver.clear();
        const std::string text = serverTurnMessage(turn);
        for (const Seat& seat : room.seats) {
            if (seat.present) {
                send(seat.connection, text);
            }
        }
        if (!turn.orders.empty()) {
            room.unwritten[next] = std::move(turn.orders);
        }
        ++room.nextForward;
    }
}

// A turn's messages carry the players' hashes after the turn two before it: where they
// agree the replay gains that turn's orders and the hash; where they differ the battle ends.
bool Host::checkHashes(Room& room, int64_t turn) {
    const int64_t checked = turn - kDelayTurns;
    const auto step = static_cast<int32_t>(lastStepOfTurn(checked));
    const PlayerTurn* sent[2] = {nullptr, nullptr};
    for (int team = 0; team < 2; ++team) {
        const auto found = room.seats[team].turns.find(turn);
        if (room.seats[team].present && found != room.seats[team].turns.end()) {
            sent[team] = &found->second;
        }
    }
    const auto orders = room.unwritten.find(checked);
    const auto writeOrders = [&] {
        if (orders != room.unwritten.end()) {
            writeLine(room, replayOrdersLine({static_cast<int32_t>(firstStepOfTurn(checked)),
                                              orders->second, 0}));
            room.unwritten.erase(orders);
        }
    };
    if (sent[0] != nullptr && sent[1] != nullptr && sent[0]->hash != sent[1]->hash) {
        writeOrders();
        const std::string line = "out of sync at step " + std::to_string(step);
        for (const Seat& seat : room.seats) {
            deliveries_.push_back({seat.connection, battleEndMessage({line, step}), true, line});
        }
        finish(room,
               line + ": red " + hashText(sent[0]->hash) + ", blue " + hashText(sent[1]->hash),
               step);
        return false;
    }
    writeOrders();
    writeLine(room, replayHashLine({step, (sent[0] != nullptr ? sent[0] : sent[1])->hash}));
    room.checkedStep = step;
    return true;
}

void Host::refuse(ConnectionId id, const std::string& reason) {
    deliveries_.push_back({id, refusedMessage({reason}), true, reason});
    disconnected(id, 0);
}

void Host::disconnected(ConnectionId id, int64_t) {
    const auto found = connections_.find(id);
    if (found == connections_.end()) {
        return;
    }
    const Connection connection = found->second;
    connections_.erase(found);
    const auto room = rooms_.find(connection.room);
    if (room != rooms_.end() && !room->second.ended &&
        room->second.seats[connection.seat].connection == id) {
        seatLeft(room->second, connection.seat, "left");
    }
    dropEndedRooms();
}

void Host::seatLeft(Room& room, int seat, const std::string& how) {
    Seat& gone = room.seats[seat];
    if (!gone.present) {
        return;
    }
    gone.present = false;
    gone.turns.clear();
    if (!room.started) {
        room.ended = true;  // nobody else was in it
        return;
    }
    const int64_t from = room.nextForward;
    room.departures.push_back(std::string(kTeamNames[seat]) + " " + how + " at turn " +
                              std::to_string(from));
    Seat& other = room.seats[1 - seat];
    if (!other.present) {
        finish(room,
               room.departures.size() == 2 ? room.departures[0] + "; " + room.departures[1]
                                           : room.departures[0],
               static_cast<int32_t>(room.checkedStep));
        return;
    }
    Order handOver;
    handOver.kind = OrderKind::HandOver;
    handOver.commandedTeams = teamBit(1 - seat);
    room.handOver.push_back(handOver);
    send(other.connection, playerLeftMessage({seat, from}));
    forward(room);
}

void Host::finish(Room& room, const std::string& reason, int32_t lastStep) {
    writeLine(room, replayEndLine(lastStep, reason));
    if (room.replay) {
        room.replay->flush();
    }
    room.ended = true;
    for (Seat& seat : room.seats) {
        if (seat.present) {
            seat.present = false;
            connections_.erase(seat.connection);
        }
    }
}

void Host::tick(int64_t nowMs) {
    std::vector<ConnectionId> late;
    for (const auto& [id, connection] : connections_) {
        if (connection.room.empty() && nowMs - connection.sinceMs > kSilenceMs) {
            late.push_back(id);
        }
    }
    for (const ConnectionId id : late) {
        refuse(id, "no hello within 10 s");
    }
    for (auto& [code, room] : rooms_) {
        for (int team = 0; team < 2 && room.started && !room.ended; ++team) {
            Seat& seat = room.seats[team];
            if (seat.present && !seat.turns.contains(room.nextForward) &&
                nowMs - seat.lastHeardMs > kSilenceMs) {
                const ConnectionId id = seat.connection;
                deliveries_.push_back(
                    {id, refusedMessage({"silent for 10 s"}), true, "silent for 10 s"});
                connections_.erase(id);
                seatLeft(room, team, "fell silent");
            }
        }
    }
    dropEndedRooms();
}

void Host::dropEndedRooms() {
    std::erase_if(rooms_, [](const auto& entry) { return entry.second.ended; });
}
