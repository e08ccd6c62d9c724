#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

#include "world/FogReach.h"

struct Entity;
struct World;

// What each soldier saw when the fog was last computed, kept so that a soldier who has not
// moved, with no wall changed within its reach, need not cast its rays again. A record is only
// ever reused after checking everything the rays depend on, so it can never be stale.
class SightMemory {
public:
    // The fog's window at one fog cell per tile.
    static constexpr int kWindow = 2 * kFogReach + 1;

    // One bit per cell of the window around the soldier's tile, by column then row: the cell
    // lies on the grid, within sight range and in the soldier's line of sight. Casts the rays
    // only when the soldier's last record does not hold any more.
    const std::array<uint64_t, kWindow>& cellsSeenBy(const World& world, const Entity& e, int ex,
                                                     int ey);

private:
    // The rays of the window touch tiles at most one further than the window's edge.
    static constexpr int kWallReach = kFogReach + 1;
    static constexpr int kWallWindow = 2 * kWallReach + 1;

    struct Record {
        int ex = 0;
        int ey = 0;
        int columns = 0;
        int rows = 0;
        int tileColumns = 0;
        int tileRows = 0;
        std::array<uint64_t, kWallWindow> walls{};
        std::array<uint64_t, kWindow> seen{};
    };

    static Record surroundings(const World& world, int ex, int ey);
    static void castRays(const World& world, const Entity& e, Record& record);

    std::unordered_map<const Entity*, Record> records_;
};
