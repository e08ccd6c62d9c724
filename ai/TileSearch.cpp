#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "ai/Entity.h"
#include "ai/TileOf.h"
#include "world/World.h"

namespace {

constexpr double kNoFiringPositionYet = 1000000.0;
constexpr double kNoGoal = -1.0;

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

// A known free tile within reach of the target's tile with nothing between them.
bool isFiringPosition(const Entity& self, const Grid<int32_t>& known, int i, int j, int tx, int ty,
                      double reach) {
    const double dx = static_cast<double>(i) - tx;
    const double dy = static_cast<double>(j) - ty;
    return !isOccupiedOrWall(*self.world, i, j) && self.isLineClear(i, j, tx, ty) &&
           std::sqrt(dx * dx + dy * dy) <= reach && known[i][j] != 0;
}

}  // namespace

void Entity::findHidingTile(const Entity& threat) {
    goalX = kNoGoal;
    goalY = kNoGoal;
    double best = static_cast<double>(world->columns) * static_cast<double>(world->rows);
    for (int i = 0; i < world->columns; ++i) {
        for (int j = 0; j < world->rows; ++j) {
            if (threat.hasLineOfSight(i, j) || isOccupiedOrWall(*world, i, j)) {
                continue;
            }
            const double d = std::sqrt((x - i) * (x - i) + (y - j) * (y - j));
            if (d < best) {
                best = d;
                goalX = i;
                goalY = j;
            }
        }
    }
    if (goalX != kNoGoal) {
        requestPath(tileOf(goalX), tileOf(goalY));
    }
}

void Entity::findFiringPosition() {
    const Grid<int32_t>* known = knownTilesOf(*world, team);
    double rx = kNoGoal;
    double ry = kNoGoal;
    if (target != nullptr && known != nullptr) {
        const int tx = tileOf(target->x);
        const int ty = tileOf(target->y);
        const double reach = currentWeapon->range;
        double best = kNoFiringPositionYet;
        for (int j = 0; j < world->rows; ++j) {
            for (int i = 0; i < world->columns; ++i) {
                if (!isFiringPosition(*this, *known, i, j, tx, ty, reach)) {
                    continue;
                }
                const double d = distance(x, y, i, j);
                if (d < best) {
                    best = d;
                    rx = i;
                    ry = j;
                }
            }
        }
    }
    if (rx >= 0) {
        rallyX = rx;
        rallyY = ry;
        requestPath(tileOf(rx), tileOf(ry));
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
    const std::pair<int, int> chosen = frontier[rand() % static_cast<int>(frontier.size())];
    requestPath(chosen.first, chosen.second);
}
