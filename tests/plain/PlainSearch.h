#pragma once

#include <vector>

#include "path/Path.h"

struct World;

// What a route search leaves behind: the waypoints and the goal, which the fallback replaces
// by the reached tile nearest to the asked-for goal.
struct SearchResult {
    std::vector<Waypoint> waypoints;
    int goalX;
    int goalY;
};

// The route search done the slow, obvious way: a grid of separately allocated nodes and an
// open list kept in insertion order, scanned front to back for the smallest f. The fast search
// must choose exactly as this one does.
SearchResult plainSearch(int startX, int startY, int goalX, int goalY, int columns, int rows,
                         const World& world);
