#pragma once

#include <cstdint>
#include <vector>

struct World;

// One tile of the search grid.
struct PathNode {
    bool open;         // free and not yet reached
    PathNode* parent;  // first reached from; null for the start and unreached nodes
    int32_t h;         // Manhattan tiles to the goal; -1 until reached
    int32_t g;         // cost from the start (10 straight, 14 diagonal per step)
    int32_t f;         // g + h
    int32_t x;
    int32_t y;
    int32_t goalX;
    int32_t goalY;
    int32_t stepCost;  // cost of the step from parent: 10, 14, or 0
};

// A tile of a finished route and the cost of the step that entered it (0 for the first).
struct Waypoint {
    int32_t x;
    int32_t y;
    int32_t stepCost;
};

// A route of tiles from a soldier's tile to its goal, searched once when the Path is built.
// The search grid lives only during construction; the route is kept as copied waypoints.
struct Path {
    std::vector<Waypoint> waypoints;  // first = the start tile; empty when no step was possible
    std::size_t current = 0;          // index of the current waypoint
    int32_t startX;
    int32_t startY;
    int32_t goalX;  // replaced by the fallback tile when the goal could not be reached
    int32_t goalY;
    int32_t columns;
    int32_t rows;
    World* world;

    Path(int startX, int startY, int goalX, int goalY, int columns, int rows, World* world);

    const Waypoint* currentWaypoint() const;
    const Waypoint* advance();
    bool isRemainingPathClear() const;

    // One team-coloured square per waypoint; defined in pathDraw.cpp.
    void drawPath(int ox, int oy, int t, int team, double z) const;
};
