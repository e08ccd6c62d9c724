#pragma once

#include <optional>
#include <string>
#include <vector>

// What one headless battle runs: the map, how many world steps, the seed of gameRand(), the
// simulated milliseconds per step, the view mode, and whether every step is printed; the
// orders to give and the replay to record. Or, instead of all the battle's settings, a
// replay to fight again.
struct RunOptions {
    std::string mapFile;
    int steps = 1000;
    unsigned seed = 1;
    int tickMs = 16;
    int view = 2;
    bool trace = false;
    std::string ordersFile;  // empty: no orders
    std::string recordFile;  // empty: nothing recorded
    std::string replayFile;  // not empty: the replay is the battle, and there is no map

    // A bot: not empty, the battle is a server's (HOST:PORT), with a player that gives random
    // orders; the server gives the map, the seed and the tick.
    std::string connect;
    std::string room;  // empty: open a room
    unsigned botSeed = 1;
    int nudgeStep = 0;         // a test's: after this step one soldier moves a hair; 0 none
    bool pace = false;         // steps no faster than the tick, as the game does
    bool delayReport = false;  // a line on the order-to-action delay at the end
};

// Reads `MAP [--steps N] [--seed S] [--tick-ms T] [--view V] [--orders FILE] [--record FILE]
// [--trace]`, `--replay FILE [--trace]` or `--connect HOST:PORT [--room CODE] [--bot random]
// [--bot-seed N] [--steps N] [--trace] [--pace] [--delay-report] [--nudge-step N]` (the program
// name not included). On bad arguments
// returns nothing and sets `error` to one line saying why.
std::optional<RunOptions> parseOptions(const std::vector<std::string>& arguments,
                                       std::string& error);

// A whole decimal number as the options take them: digits only, no sign, no trailing junk, no
// overflow.
std::optional<unsigned long long> parseCount(const std::string& text);

extern const char* const kUsage;
