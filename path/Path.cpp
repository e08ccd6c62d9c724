#include "path/Path.h"

#include <cstdint>

#include "path/PathSearch.h"
#include "world/World.h"

namespace {

// Larger than any map; keeps every cost and index of the search inside an int32.
constexpr int64_t kMaxCells = int64_t{1} << 26;

}  // namespace

Path::Path(int startX, int startY, int goalX, int goalY, int columns, int rows, World* world)
    : startX(startX),
      startY(startY),
      goalX(goalX),
      goalY(goalY),
      columns(columns),
      rows(rows),
      world(world) {
    // A start off the grid has no node to search from: the route stays empty.
    if (world == nullptr || startX < 0 || startX >= columns || startY < 0 || startY >= rows ||
        (int64_t{columns} + 2) * (int64_t{rows} + 2) > kMaxCells) {
        return;
    }
    searchRoute(*this);
}

const Waypoint* Path::currentWaypoint() const {
    return current < waypoints.size() ? &waypoints[current] : nullptr;
}

const Waypoint* Path::advance() {
    if (current + 1 >= waypoints.size()) {
        return nullptr;
    }
    ++current;
    return &waypoints[current];
}

bool Path::isRemainingPathClear() const {
    if (waypoints.empty()) {
        return true;
    }
    if (current + 1 >= waypoints.size()) {
        return false;
    }
    for (std::size_t i = current + 1; i < waypoints.size(); ++i) {
        if (!world->isTileFree(waypoints[i].x, waypoints[i].y)) {
            return false;
        }
    }
    return true;
}
