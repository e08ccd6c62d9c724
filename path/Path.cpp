#include "path/Path.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <limits>

#include "world/World.h"

namespace {

constexpr int32_t kStraightCost = 10;
constexpr int32_t kDiagonalCost = 14;

struct Step {
    int dx;
    int dy;
    int32_t cost;
};

// The order decides which of several equal-f nodes is expanded first, and so the route.
constexpr Step kSteps[8] = {
    {0, -1, kStraightCost}, {1, 0, kStraightCost}, {0, 1, kStraightCost},  {-1, 0, kStraightCost},
    {1, -1, kDiagonalCost}, {1, 1, kDiagonalCost}, {-1, 1, kDiagonalCost}, {-1, -1, kDiagonalCost},
};

// Sums that no real grid reaches, but a wild goal or a giant map must not overflow an int32.
int32_t saturate(int64_t value) {
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

int32_t manhattan(int x, int y, int goalX, int goalY) {
    return saturate(std::llabs(int64_t{x} - goalX) + std::llabs(int64_t{y} - goalY));
}

// The open list ordered by (f, insertion sequence): the earliest inserted of equal f comes
// first, exactly as a front-to-back scan for the smallest f would choose. Every node enters at
// most once and its f is fixed when it enters, so the keys never change while queued.
class OpenQueue {
public:
    void push(int32_t f, std::size_t node) {
        const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(f)) << 32) |
                             static_cast<uint32_t>(nodeBySequence_.size());
        nodeBySequence_.push_back(node);
        heap_.push_back(key);
        std::push_heap(heap_.begin(), heap_.end(), std::greater<>());
    }

    bool empty() const { return heap_.empty(); }

    std::size_t pop() {
        std::pop_heap(heap_.begin(), heap_.end(), std::greater<>());
        const uint32_t sequence = static_cast<uint32_t>(heap_.back());
        heap_.pop_back();
        return nodeBySequence_[sequence];
    }

private:
    std::vector<uint64_t> heap_;
    std::vector<std::size_t> nodeBySequence_;
};

class GridSearch {
public:
    explicit GridSearch(Path& path) : path_(path), world_(*path.world), rows_(path.rows) {
        buildGrid();
    }

    void run() {
        PathNode& start = node(path_.startX, path_.startY);
        start.g = 0;
        if (start.open) {
            reach(start, 0, nullptr);
        }
        // The start node is the only entry of the first round, so it goes first whatever its f.
        if (expand(start)) {
            buildWaypoints();
            return;
        }
        while (!queue_.empty()) {
            if (expand(nodes_[queue_.pop()])) {
                buildWaypoints();
                return;
            }
        }
        fallBackToNearestReached();
    }

private:
    std::size_t indexOf(int x, int y) const {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(rows_) +
               static_cast<std::size_t>(y);
    }
    PathNode& node(int x, int y) { return nodes_[indexOf(x, y)]; }

    void buildGrid() {
        nodes_.reserve(static_cast<std::size_t>(path_.columns) * static_cast<std::size_t>(rows_));
        for (int x = 0; x < path_.columns; ++x) {
            for (int y = 0; y < rows_; ++y) {
                nodes_.push_back(PathNode{world_.isTileFree(x, y), nullptr, -1, 0, 0, x, y,
                                          path_.goalX, path_.goalY, 0});
            }
        }
    }

    void reach(PathNode& n, int32_t cost, PathNode* parent) {
        n.h = manhattan(n.x, n.y, n.goalX, n.goalY);
        n.parent = parent;
        n.g = cost;
        n.f = saturate(int64_t{n.g} + n.h);
        n.open = false;
        if (parent == nullptr) {
            n.stepCost = 0;
        } else {
            n.stepCost = n.x == parent->x || n.y == parent->y ? kStraightCost : kDiagonalCost;
        }
    }

    // True when the goal has just been reached.
    bool expand(PathNode& e) {
        for (const Step& step : kSteps) {
            if (tryNeighbour(step, e)) {
                return true;
            }
        }
        return false;
    }

    bool tryNeighbour(const Step& step, PathNode& e) {
        const int nx = e.x + step.dx;
        const int ny = e.y + step.dy;
        if (nx < 0 || nx >= path_.columns || ny < 0 || ny >= rows_) {
            return false;
        }
        PathNode& neighbour = node(nx, ny);
        if (!neighbour.open || cutsObstacleCorner(step, e)) {
            return false;
        }
        reach(neighbour, saturate(int64_t{e.g} + step.cost), &e);
        queue_.push(neighbour.f, indexOf(nx, ny));
        return nx == path_.goalX && ny == path_.goalY;
    }

    // Soldiers on the two side tiles do not stop a diagonal step; only walls do.
    bool cutsObstacleCorner(const Step& step, const PathNode& e) const {
        return step.dx != 0 && step.dy != 0 &&
               (world_.tileKind(e.x + step.dx, e.y) == TileKind::Obstacle ||
                world_.tileKind(e.x, e.y + step.dy) == TileKind::Obstacle);
    }

    // The goal was never reached: lead to the reached tile nearest to it, the first in
    // column-major order among equals. Only reached nodes have h >= 0.
    void fallBackToNearestReached() {
        int64_t bound = int64_t{world_.columns} + world_.rows + 1;
        const PathNode* best = nullptr;
        for (const PathNode& n : nodes_) {
            if (n.h >= 0 && n.h < bound) {
                best = &n;
                bound = n.h;
            }
        }
        if (best == nullptr) {
            return;
        }
        path_.goalX = best->x;
        path_.goalY = best->y;
        buildWaypoints();
    }

    void buildWaypoints() {
        path_.waypoints.clear();
        const PathNode* n = &node(path_.goalX, path_.goalY);
        if (n->parent == nullptr) {
            return;
        }
        for (; n != nullptr; n = n->parent) {
            path_.waypoints.push_back(Waypoint{n->x, n->y, n->stepCost});
        }
        std::reverse(path_.waypoints.begin(), path_.waypoints.end());
    }

    Path& path_;
    const World& world_;
    const int rows_;
    std::vector<PathNode> nodes_;
    OpenQueue queue_;
};

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
    if (world == nullptr || startX < 0 || startX >= columns || startY < 0 || startY >= rows) {
        return;
    }
    GridSearch(*this).run();
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
