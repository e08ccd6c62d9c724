#include "path/PathSearch.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "ai/Entity.h"
#include "path/OpenQueue.h"
#include "path/Path.h"
#include "world/World.h"

namespace {

constexpr int32_t kStraightCost = 10;
constexpr int32_t kDiagonalCost = 14;
constexpr int32_t kNone = -1;

// The tile a living soldier stands on, if it lies in the columns x rows grid.
bool soldierTile(const Entity& e, int columns, int rows, int& x, int& y) {
    const double column = std::trunc(e.x);
    const double row = std::trunc(e.y);
    if (e.health <= 0 || !(column >= 0.0 && column < columns && row >= 0.0 && row < rows)) {
        return false;
    }
    x = static_cast<int>(column);
    y = static_cast<int>(row);
    return true;
}

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

// The state of one tile: open, wall, and for a reached tile the step that entered it. Wider
// than a byte so that writing it cannot alias the search's other data.
using Cell = uint16_t;
constexpr Cell kOpen = 1;       // free and not yet reached
constexpr Cell kWall = 2;       // an obstacle, which also forbids cutting its corners
constexpr Cell kHasParent = 4;  // reached from a neighbour
constexpr int kStepShift = 3;   // bits 3..5: index into kSteps of the entering step

// The search over a grid with one closed border cell all round, column-major like the map, so
// a neighbour needs no bounds check and index order is the fallback's scan order.
class GridSearch {
public:
    explicit GridSearch(Path& path)
        : path_(path),
          world_(*path.world),
          stride_(path.rows + 2),
          cellCount_((path.columns + 2) * stride_),
          goal_(inGrid(path.goalX, path.goalY) ? indexOf(path.goalX, path.goalY) : kNone) {
        for (int i = 0; i < 8; ++i) {
            offsets_[i] = kSteps[i].dx * stride_ + kSteps[i].dy;
        }
        markTiles();
        markSoldiers();
        measureHeuristic();
    }

    void run() {
        const OpenEntry start{indexOf(path_.startX, path_.startY), 0, path_.startX, path_.startY};
        if (cell(start.node) & kOpen) {
            cell(start.node) = 0;
            noteReached(start.node, h(start.x, start.y));
        }
        // The start is the only entry of the first round, so it goes first whatever its f.
        OpenEntry e = start;
        for (;;) {
            if (expand(e)) {
                buildWaypoints(path_.goalX, path_.goalY);
                return;
            }
            if (settled_ || queue_.empty()) {
                break;
            }
            e = queue_.pop();
        }
        fallBackToNearestReached();
    }

private:
    bool inGrid(int x, int y) const {
        return x >= 0 && x < path_.columns && y >= 0 && y < path_.rows;
    }
    int32_t indexOf(int x, int y) const { return (x + 1) * stride_ + (y + 1); }
    Cell& cell(int32_t node) { return cells_[static_cast<std::size_t>(node)]; }

    // Free tiles open, obstacles marked; tiles beyond the World's own grid count as walls,
    // as the World's queries report them.
    void markTiles() {
        cells_.assign(static_cast<std::size_t>(cellCount_), 0);
        const Grid<int32_t>& kinds = world_.tiles;
        const int knownRows = std::min(path_.rows, kinds.rows());
        for (int x = 0; x < path_.columns; ++x) {
            Cell* const column = cells_.data() + indexOf(x, 0);
            const int known = x < kinds.columns() ? knownRows : 0;
            const int32_t* const kind = known > 0 ? kinds[x] : nullptr;
            for (int y = 0; y < known; ++y) {
                column[y] = kind[y] == TileKind::Obstacle ? kWall : kOpen;
            }
            std::fill(column + known, column + path_.rows, kWall);
        }
    }

    // A tile with a living soldier on it is not free (the World's isTileFree), found once per
    // soldier rather than once per soldier for every tile.
    void markSoldiers() {
        for (const Entity* e : world_.entities) {
            int x = 0;
            int y = 0;
            if (soldierTile(*e, path_.columns, path_.rows, x, y)) {
                cell(indexOf(x, y)) &= static_cast<Cell>(~kOpen);
            }
        }
    }

    // Each axis is held below 2^30, so h fits an int32. Only goals a billion tiles away are
    // held; from them every tile is too far to be a fallback, so the route is empty either way.
    void measureHeuristic() {
        constexpr int64_t kFarAxis = (int64_t{1} << 30) - 1;
        distanceX_.resize(static_cast<std::size_t>(path_.columns));
        for (int x = 0; x < path_.columns; ++x) {
            distanceX_[static_cast<std::size_t>(x)] = static_cast<int32_t>(
                std::min<int64_t>(std::llabs(int64_t{x} - path_.goalX), kFarAxis));
        }
        distanceY_.resize(static_cast<std::size_t>(path_.rows));
        for (int y = 0; y < path_.rows; ++y) {
            distanceY_[static_cast<std::size_t>(y)] = static_cast<int32_t>(
                std::min<int64_t>(std::llabs(int64_t{y} - path_.goalY), kFarAxis));
        }
    }

    // Manhattan tiles to the goal.
    int32_t h(int x, int y) const {
        return distanceX_[static_cast<std::size_t>(x)] + distanceY_[static_cast<std::size_t>(y)];
    }

    // The fallback's choice: the smallest h, the first in column-major (index) order among
    // equals. Both fit one key: h below 2^31, the index below 2^26.
    void noteReached(int32_t node, int32_t hNode) {
        const uint64_t key = static_cast<uint64_t>(hNode) << 32 | static_cast<uint32_t>(node);
        if (key < nearest_) {
            nearest_ = key;
            settled_ = hNode <= kSettlingDistance && !canStillReachNearer();
        }
    }

    // Whether a tile that would beat the nearest reached one is still open. A tile that is not
    // open now never will be: it is a wall, a soldier's, or reached already (and so no nearer).
    // When none is open, the rest of the flood cannot change the fallback's choice, nor reach
    // the goal, whose h is 0, so the search may stop. Checked only while the nearest tile is
    // within a couple of tiles of the goal, where the tiles to look at are few.
    bool canStillReachNearer() const {
        const int64_t nearestH = static_cast<int64_t>(nearest_ >> 32);
        for (int64_t dx = -nearestH; dx <= nearestH; ++dx) {
            const int64_t spare = nearestH - (dx < 0 ? -dx : dx);
            for (int64_t dy = -spare; dy <= spare; ++dy) {
                const int64_t x = int64_t{path_.goalX} + dx;
                const int64_t y = int64_t{path_.goalY} + dy;
                if (x < 0 || x >= path_.columns || y < 0 || y >= path_.rows) {
                    continue;
                }
                const int32_t node = indexOf(static_cast<int>(x), static_cast<int>(y));
                const uint64_t key =
                    static_cast<uint64_t>(h(static_cast<int>(x), static_cast<int>(y))) << 32 |
                    static_cast<uint32_t>(node);
                if (key < nearest_ && (cells_[static_cast<std::size_t>(node)] & kOpen)) {
                    return true;
                }
            }
        }
        return false;
    }

    // Reaches every enterable neighbour in the fixed order; true once the goal is reached.
    bool expand(const OpenEntry& e) {
        for (unsigned bits = enterableNeighbours(e.node); bits != 0; bits &= bits - 1) {
            const int i = __builtin_ctz(bits);
            const Step& step = kSteps[i];
            const OpenEntry n{e.node + offsets_[i], e.g + step.cost, e.x + step.dx, e.y + step.dy};
            cell(n.node) = static_cast<Cell>(kHasParent | i << kStepShift);
            const int32_t hN = h(n.x, n.y);
            noteReached(n.node, hN);
            queue_.push(int64_t{n.g} + hN, n);
            if (n.node == goal_) {
                return true;
            }
        }
        return false;
    }

    // One bit per neighbour, in the order of kSteps: open, and for a diagonal step neither
    // side tile is an obstacle. Soldiers on the side tiles do not stop a diagonal step.
    unsigned enterableNeighbours(int32_t e) const {
        const Cell* const c = cells_.data() + e;
        const int32_t s = stride_;
        const unsigned up = c[-1];
        const unsigned right = c[s];
        const unsigned down = c[1];
        const unsigned left = c[-s];
        const unsigned open = (up & kOpen) | (right & kOpen) << 1 | (down & kOpen) << 2 |
                              (left & kOpen) << 3 | (c[s - 1] & kOpen) << 4 |
                              (c[s + 1] & kOpen) << 5 | (c[-s + 1] & kOpen) << 6 |
                              (c[-s - 1] & kOpen) << 7;
        const unsigned blocked = ((right | up) & kWall) << 3 | ((right | down) & kWall) << 4 |
                                 ((left | down) & kWall) << 5 | ((left | up) & kWall) << 6;
        return open & ~blocked;
    }

    void fallBackToNearestReached() {
        const int64_t bound = int64_t{world_.columns} + world_.rows + 1;
        const auto nearestH = static_cast<int64_t>(nearest_ >> 32);
        if (nearest_ == kNoneReached || nearestH >= bound) {
            return;
        }
        const auto node = static_cast<int32_t>(nearest_ & 0xffffffffu);
        path_.goalX = node / stride_ - 1;
        path_.goalY = node % stride_ - 1;
        buildWaypoints(path_.goalX, path_.goalY);
    }

    // Follows the entering steps back from the last tile to the start.
    void buildWaypoints(int x, int y) {
        path_.waypoints.clear();
        int32_t node = indexOf(x, y);
        if (!(cell(node) & kHasParent)) {
            return;
        }
        for (;;) {
            const Cell tile = cell(node);
            if (!(tile & kHasParent)) {
                path_.waypoints.push_back(Waypoint{x, y, 0});
                break;
            }
            const int i = tile >> kStepShift;
            path_.waypoints.push_back(Waypoint{x, y, kSteps[i].cost});
            x -= kSteps[i].dx;
            y -= kSteps[i].dy;
            node -= offsets_[i];
        }
        std::reverse(path_.waypoints.begin(), path_.waypoints.end());
    }

    Path& path_;
    const World& world_;
    const int32_t stride_;
    const int32_t cellCount_;
    const int32_t goal_;
    int32_t offsets_[8] = {};
    std::vector<Cell> cells_;
    std::vector<int32_t> distanceX_;
    std::vector<int32_t> distanceY_;
    OpenQueue queue_;
    static constexpr uint64_t kNoneReached = std::numeric_limits<uint64_t>::max();
    uint64_t nearest_ = kNoneReached;
    // Nothing the flood could still reach would change the result.
    bool settled_ = false;
    static constexpr int32_t kSettlingDistance = 2;
};

}  // namespace

void searchRoute(Path& path) {
    GridSearch(path).run();
}
