#pragma once

#include <optional>
#include <string>
#include <vector>

// What one headless battle runs: the map, how many world steps, the seed of gameRand(), the
// simulated milliseconds per step, the view mode, and whether every step is printed.
struct RunOptions {
    std::string mapFile;
    int steps = 1000;
    unsigned seed = 1;
    int tickMs = 16;
    int view = 2;
    bool trace = false;
};

// Reads `MAP [--steps N] [--seed S] [--tick-ms T] [--view V] [--trace]` (the program name
// not included). On bad arguments returns nothing and sets `error` to one line saying why.
std::optional<RunOptions> parseOptions(const std::vector<std::string>& arguments,
                                       std::string& error);

extern const char* const kUsage;
