#pragma once

#include <cstdint>
#include <vector>

struct World;

// What a command does to the battle. The numbers are written into replay files: never renumber,
// only add.
namespace OrderKind {
enum : int32_t {
    Move = 0,              // walk to the tile, in Move
    Pursue = 1,            // take `target` as target, in Pursue (attack an enemy, follow a friend)
    Advance = 2,           // walk to the tile, in Advance (engaging on the way)
    Flee = 3,              // the soldiers' state becomes Flee
    Explore = 4,           // ... Explore
    ExploreAndEngage = 5,  // ... ExploreAndEngage
    ToggleWall = 6,        // the tile: floor to wall, anything else to floor
    ClearRoutes = 7,       // every soldier of both teams loses its goal and route
    Damage = 8,            // 5 health off each soldier (the all-teams view's debug key)
    Heal = 9,              // 5 health back to each living soldier, up to full
    SwitchView = 10,       // `commandedTeams` wait for orders from now on; every route dropped
    HandOver = 11,         // `commandedTeams` wait for orders from now on; nothing else changes
    Count
};
}

// Bit of a team in a set of teams (the teams a giver may order, the teams that wait for orders).
constexpr uint32_t teamBit(int team) {
    return 1u << team;
}
constexpr uint32_t kNoTeams = 0;
constexpr uint32_t kBothTeams = 0b11;

// Whether `team` is in a set of teams; false for a number no team can have, whose bit does not
// exist.
constexpr bool isTeamIn(uint32_t teams, int team) {
    return team >= 0 && team < 32 && (teams & teamBit(team)) != 0;
}

// The teams that wait for orders in a view (a ViewMode): the viewed team, none in the
// all-teams view or in a view that names no team.
uint32_t commandedTeamsInView(int viewMode);

// One command, as data: who it is for and what it asks. Soldiers are named by their creation id,
// their index in World::roster, so that an order means the same soldiers in every copy of a
// battle.
struct Order {
    int32_t kind = OrderKind::Move;
    uint32_t giver = kNoTeams;      // teams whose soldiers the giver may order
    std::vector<int32_t> soldiers;  // creation ids, in the order the player selected them
    int32_t column = -1;            // the tile of Move, Advance and ToggleWall
    int32_t row = -1;
    int32_t target = -1;                 // creation id of Pursue's target
    uint32_t commandedTeams = kNoTeams;  // SwitchView's and HandOver's new commanded teams
};

// Carries out one order between two steps, as the player's command would have. A soldier the
// order names that is dead, not in the roster, or not of a team in `giver` is left out; an order
// whose target or tile is not usable does nothing.
void applyOrder(World& world, const Order& order);
