#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "net/Protocol.h"

struct World;

// The server's side of every two-player battle, without the sockets: rooms, seats, the
// lockstep's forwarding, the hash check, the replays, and every refusal. The caller owns the
// connections: it reports each one's opening, messages and closing, with the time, calls
// `tick` now and then, and delivers what `takeDeliveries` gives.
class Host {
public:
    using ConnectionId = uint64_t;
    // A message for one connection; with `close`, the connection is closed after it, with
    // `reason` as its closing reason.
    struct Delivery {
        ConnectionId to = 0;
        std::string text;
        bool close = false;
        std::string reason;
    };
    struct Settings {
        std::string map;      // the battle's map file, as text
        std::string mapName;  // for messages
        // A stream for a new battle's replay, or none to keep no replay.
        std::function<std::unique_ptr<std::ostream>(const std::string& room)> openReplay;
        // The system's random source: room codes and seeds.
        std::function<uint64_t()> randomBits;
    };
    // A connection must say hello within this, and a player who owes a turn send it.
    static constexpr int64_t kSilenceMs = 10000;

    explicit Host(Settings settings);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Whether the map loaded; if not, `problem` says why and no battle can start.
    bool ready() const { return problem_.empty(); }
    const std::string& problem() const { return problem_; }

    // `site` is where the connection came to, as a link begins: "http://127.0.0.1:8080".
    void connected(ConnectionId id, const std::string& site, int64_t nowMs);
    void received(ConnectionId id, const std::string& text, int64_t nowMs);
    void disconnected(ConnectionId id, int64_t nowMs);
    // Hellos and turns overdue.
    void tick(int64_t nowMs);

    std::vector<Delivery> takeDeliveries();
    std::size_t rooms() const { return rooms_.size(); }
    std::size_t connections() const { return connections_.size(); }

private:
    struct Seat {
        ConnectionId connection = 0;
        bool present = false;
        int64_t lastHeardMs = 0;
        int64_t nextTurn = kDelayTurns;
        std::map<int64_t, PlayerTurn> turns;  // received, not yet forwarded
    };
    struct Room {
        std::string code;
        Seat seats[2];
        bool started = false;
        bool ended = false;  // dropped at the end of the call that ended it
        uint32_t seed = 0;
        int64_t nextForward = kDelayTurns;
        int64_t checkedStep = 0;                          // the last step whose hash was checked
        std::map<int64_t, std::vector<Order>> unwritten;  // forwarded, not yet in the replay
        std::vector<Order> handOver;                      // the server's orders for the next turn
        std::vector<std::string> departures;              // for the replay's end line
        std::unique_ptr<std::ostream> replay;
    };
    struct Connection {
        std::string site;
        int64_t sinceMs = 0;
        std::string room;  // empty before the hello
        int seat = -1;
    };

    void hello(ConnectionId id, Connection& connection, const Hello& hello, int64_t nowMs);
    void openRoom(ConnectionId id, Connection& connection, int64_t nowMs);
    void joinRoom(ConnectionId id, Connection& connection, const std::string& code, int64_t nowMs);
    void startBattle(Room& room, int64_t nowMs);
    void turn(ConnectionId id, const Connection& connection, PlayerTurn turn, int64_t nowMs);
    void forward(Room& room);
    bool checkHashes(Room& room, int64_t turn);
    void seatLeft(Room& room, int seat, const std::string& how);
    void finish(Room& room, const std::string& reason, int32_t lastStep);
    void refuse(ConnectionId id, const std::string& reason);
    void send(ConnectionId id, std::string text);
    void writeLine(Room& room, const std::string& line);
    void dropEndedRooms();

    Settings settings_;
    std::string problem_;
    std::unique_ptr<World> battle_;  // the map as loaded: the soldiers' teams, the tiles
    std::map<ConnectionId, Connection> connections_;
    std::map<std::string, Room> rooms_;
    std::vector<Delivery> deliveries_;
};
