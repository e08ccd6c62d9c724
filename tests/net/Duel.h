#pragma once

#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/GameRandom.h"
#include "net/Host.h"
#include "net/VersusSession.h"
#include "world/World.h"

// Two players and the server in one process, with no socket: each player's battle keeps its
// own generator and clock, put back before each of its steps, so the two battles run in turns
// as two machines would run them side by side.
class Duel {
public:
    struct Player {
        Host::ConnectionId id = 0;
        std::unique_ptr<VersusSession> session;
        std::unique_ptr<World> world;
        GameRandomState random;
        std::mt19937 orders;
        bool connected = false;
        int64_t lastStep = 0;  // stops after this step
    };

    explicit Duel(const std::string& map);

    // Opens a room with the first player and joins it with the second.
    void start();
    // Moves every message both ways until nothing is left to move.
    void pump();
    // Runs until both players stopped or can step no more; `beforeStep` may give orders.
    void run(const std::function<void(Player&)>& beforeStep = {});
    void leave(Player& player);
    // A random order for the player's own soldiers, every so many steps.
    void giveRandomOrder(Player& player);

    std::stringstream replay;
    uint64_t bits = 0x5eed;
    Host host;
    Player players[2];
    int64_t nowMs = 0;
    std::vector<Host::Delivery> refusals;

private:
    bool stepOnce(Player& player, const std::function<void(Player&)>& beforeStep);
    void deliver(const Host::Delivery& delivery);
};
