#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "ai/Entity.h"
#include "ai/RayMarch.h"
#include "base/GameRandom.h"
#include "base/TileOf.h"
#include "world/World.h"

namespace {

constexpr double kNoFiringPositionYet = 1000000.0;
constexpr double kNoGoal = -1.0;
// A soldier searched around from farther out than this is searched for over the whole map:
// the windows around it could not be sized.
constexpr double kFarthestSearchCentre = 1e8;

// The team's memory of the map, or none for a team the game does not have.
const Grid<int32_t>* knownTilesOf(const World& world, int team) {
    if (team == Team::Red) {
        return &world.redKnownTiles;
    }
    if (team == Team::Blue) {
        return &world.blueKnownTiles;
    }
    return nullptr;
}

bool isOccupiedOrWall(const World& world, int i, int j) {
    return world.isEntityOnTile(i, j) || world.isObstacleAt(i, j);
}

bool hasUndiscoveredNeighbour(const World& world, const Grid<int32_t>& known, int i, int j) {
    for (int di = -1; di <= 1; ++di) {
        for (int dj = -1; dj <= 1; ++dj) {
            const int ni = i + di;
            const int nj = j + dj;
            const bool onGrid = ni >= 0 && ni < world.columns && nj >= 0 && nj < world.rows;
            if ((di != 0 || dj != 0) && onGrid && known[ni][nj] == 0) {
                return true;
            }
        }
    }
    return false;
}

bool isFrontierTile(const World& world, const Grid<int32_t>& known, int i, int j) {
    const int32_t entry = known[i][j];
    return entry != 0 && entry != TileKind::Obstacle &&
           hasUndiscoveredNeighbour(world, known, i, j);
}

// Which tiles have a soldier on them, living or dead, as isEntityOnTile reports them, found
// once for a whole search instead of once per tile and ray point.
class Occupancy {
public:
    explicit Occupancy(const World& world)
        : columns_(std::max(world.columns, 0)),
          rows_(std::max(world.rows, 0)),
          taken_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0) {
        for (const Entity* e : world.entities) {
            const double x = std::trunc(e->x);
            const double y = std::trunc(e->y);
            if (x >= 0 && x < columns_ && y >= 0 && y < rows_) {
                taken_[index(static_cast<int>(x), static_cast<int>(y))] = 1;
            }
        }
    }

    // For a tile on the grid.
    bool isTaken(int x, int y) const { return taken_[index(x, y)] != 0; }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(rows_) +
               static_cast<std::size_t>(y);
    }

    int columns_;
    int rows_;
    std::vector<uint8_t> taken_;
};

// The game's isLineClear, with the soldiers looked up in the occupancy.
bool isLineClear(const World& world, const Occupancy& occupancy, double ax, double ay, double bx,
                 double by) {
    return marchRay(world, ax, ay, bx, by, true, [&](double px, double py) {
               return occupancy.isTaken(static_cast<int>(px), static_cast<int>(py)) ||
                      ray::isWallAt(world, px, py);
           }) != RayOutcome::Hit;
}

// The first row and column of the square of reach around a target tile, clipped to the grid;
// beyond it the distance test fails anyway.
struct Span {
    int first;
    int last;
};

Span spanAround(int centre, double reach, int size) {
    const double r = std::min(std::floor(reach), 1e9);
    return Span{static_cast<int>(std::max<double>(0.0, centre - r)),
                static_cast<int>(std::min<double>(size - 1.0, centre + r))};
}

// The known free tile within reach of the target's tile, with a clear line to it, nearest the
// soldier; the first in row-major order among equals. Only the square of reach around the
// target is scanned, in the same order, and the ray is cast last.
struct FiringPlace {
    bool found = false;
    int x = 0;
    int y = 0;
};

FiringPlace nearestFiringPlace(const Entity& self, const Grid<int32_t>& known, int tx, int ty,
                               double reach) {
    const World& world = *self.world;
    FiringPlace place;
    if (!(reach >= 0)) {
        return place;
    }
    const Occupancy occupancy(world);
    const Span rows = spanAround(ty, reach, world.rows);
    const Span columns = spanAround(tx, reach, world.columns);
    double best = kNoFiringPositionYet;
    for (int j = rows.first; j <= rows.last; ++j) {
        for (int i = columns.first; i <= columns.last; ++i) {
            const double dx = static_cast<double>(i) - tx;
            const double dy = static_cast<double>(j) - ty;
            if (!(std::sqrt(dx * dx + dy * dy) <= reach) || known[i][j] == 0 ||
                occupancy.isTaken(i, j) || ray::isWallAt(world, i, j)) {
                continue;
            }
            const double d = distance(self.x, self.y, i, j);
            if (d < best && isLineClear(world, occupancy, i, j, tx, ty)) {
                best = d;
                place = FiringPlace{true, i, j};
            }
        }
    }
    return place;
}

// Where a soldier at (x, y) can hide from a threat: the free tile the threat cannot see that
// lies nearest, the first in column-major order among equals. Searched outwards in square rings
// around the soldier rather than over the whole map, testing the cheap conditions before
// casting the threat's ray (rays change nothing, so the order of the tests does not matter).
struct HidingPlace {
    bool found = false;
    int x = 0;
    int y = 0;
    double d = 0.0;
};

class HidingSearch {
public:
    HidingSearch(const World& world, double x, double y, const Entity& threat, double unreachable)
        : world_(world), x_(x), y_(y), threat_(threat), unreachable_(unreachable) {}

    // Whether tile (i, j) beats the best place so far; makes it the best if so.
    void consider(int i, int j) {
        const double d = std::sqrt((x_ - i) * (x_ - i) + (y_ - j) * (y_ - j));
        if (!(d < unreachable_) || (best_.found && !isNearer(d, i, j))) {
            return;
        }
        if (isOccupiedOrWall(world_, i, j) || threat_.hasLineOfSight(i, j)) {
            return;
        }
        best_ = HidingPlace{true, i, j, d};
    }

    // Column-major order breaks ties, as a scan of the whole map would meet them.
    bool isNearer(double d, int i, int j) const {
        return d < best_.d || (d == best_.d && (i < best_.x || (i == best_.x && j < best_.y)));
    }

    // Every tile of the window [x0, x1] x [y0, y1] on the grid that lies outside the inner
    // window already searched (none when the inner one is empty).
    void searchRing(int x0, int y0, int x1, int y1, int ix0, int iy0, int ix1, int iy1) {
        for (int i = std::max(x0, 0); i <= std::min(x1, world_.columns - 1); ++i) {
            const bool innerColumn = i >= ix0 && i <= ix1;
            for (int j = std::max(y0, 0); j <= std::min(y1, world_.rows - 1); ++j) {
                if (innerColumn && j >= iy0 && j <= iy1) {
                    j = iy1;
                    continue;
                }
                consider(i, j);
            }
        }
    }

    const HidingPlace& best() const { return best_; }

private:
    const World& world_;
    const double x_;
    const double y_;
    const Entity& threat_;
    const double unreachable_;
    HidingPlace best_;
};

HidingPlace nearestHidingPlace(const World& world, double x, double y, const Entity& threat,
                               double unreachable) {
    HidingSearch search(world, x, y, threat, unreachable);
    // A soldier somewhere strange gets the plain scan of every tile.
    if (!(std::fabs(x) < kFarthestSearchCentre && std::fabs(y) < kFarthestSearchCentre)) {
        search.searchRing(0, 0, world.columns - 1, world.rows - 1, 0, 0, -1, -1);
        return search.best();
    }
    const int cx = tileOf(x);
    const int cy = tileOf(y);
    // Every tile outside the window of reach r lies more than r away from (x, y), which is
    // less than a tile from (cx, cy); once the best place is no farther, it is final.
    int inner = -1;
    for (int reach = 2;; reach *= 2) {
        if (inner < 0) {
            search.searchRing(cx - reach, cy - reach, cx + reach, cy + reach, 0, 0, -1, -1);
        } else {
            search.searchRing(cx - reach, cy - reach, cx + reach, cy + reach, cx - inner,
                              cy - inner, cx + inner, cy + inner);
        }
        const bool coversGrid = cx - reach <= 0 && cy - reach <= 0 &&
                                cx + reach >= world.columns - 1 && cy + reach >= world.rows - 1;
        if ((search.best().found && search.best().d <= reach) || coversGrid) {
            return search.best();
        }
        inner = reach;
    }
}

}  // namespace

void Entity::findHidingTile(const Entity& threat) {
    goalX = kNoGoal;
    goalY = kNoGoal;
    const double unreachable = static_cast<double>(world->columns) * world->rows;
    const HidingPlace place = nearestHidingPlace(*world, x, y, threat, unreachable);
    if (place.found) {
        goalX = place.x;
        goalY = place.y;
        requestPath(tileOf(goalX), tileOf(goalY));
    }
}

void Entity::findFiringPosition() {
    const Grid<int32_t>* known = knownTilesOf(*world, team);
    FiringPlace place;
    if (target != nullptr && known != nullptr) {
        place = nearestFiringPlace(*this, *known, tileOf(target->x), tileOf(target->y),
                                   currentWeapon->range);
    }
    if (place.found) {
        rallyX = place.x;
        rallyY = place.y;
        requestPath(place.x, place.y);
        state = EntityState::Reposition;
    } else {
        state = EntityState::Idle;
        action = EntityAction::Continue;
    }
}

void Entity::pickFrontierTile() {
    const Grid<int32_t>* known = knownTilesOf(*world, team);
    if (known == nullptr) {
        return;
    }
    std::vector<std::pair<int, int>> frontier;
    for (int i = 0; i < world->columns; ++i) {
        for (int j = 0; j < world->rows; ++j) {
            if (isFrontierTile(*world, *known, i, j)) {
                frontier.emplace_back(i, j);
            }
        }
    }
    if (frontier.empty()) {
        return;
    }
    const std::pair<int, int> chosen = frontier[gameRand() % static_cast<int>(frontier.size())];
    requestPath(chosen.first, chosen.second);
}
