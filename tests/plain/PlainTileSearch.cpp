#include "PlainTileSearch.h"

#include <cmath>
#include <utility>
#include <vector>

#include "ai/Entity.h"
#include "base/GameRandom.h"
#include "base/TileOf.h"
#include "world/World.h"

namespace {

const Grid<int32_t>* knownTilesOf(const World& world, int team) {
    if (team == Team::Red) {
        return &world.redKnownTiles;
    }
    if (team == Team::Blue) {
        return &world.blueKnownTiles;
    }
    return nullptr;
}

bool isFrontierTile(const World& world, const Grid<int32_t>& known, int i, int j) {
    if (known[i][j] == 0 || known[i][j] == TileKind::Obstacle) {
        return false;
    }
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

}  // namespace

void plainFindHidingTile(Entity& e, const Entity& threat) {
    const World& world = *e.world;
    e.goalX = -1.0;
    e.goalY = -1.0;
    double best = static_cast<double>(world.columns) * static_cast<double>(world.rows);
    for (int i = 0; i < world.columns; ++i) {
        for (int j = 0; j < world.rows; ++j) {
            if (threat.hasLineOfSight(i, j)) {
                continue;
            }
            if (world.isEntityOnTile(i, j) || world.isObstacleAt(i, j)) {
                continue;
            }
            const double d = std::sqrt((e.x - i) * (e.x - i) + (e.y - j) * (e.y - j));
            if (d < best) {
                best = d;
                e.goalX = i;
                e.goalY = j;
            }
        }
    }
    if (e.goalX != -1.0) {
        e.requestPath(tileOf(e.goalX), tileOf(e.goalY));
    }
}

void plainFindFiringPosition(Entity& e) {
    const World& world = *e.world;
    const Grid<int32_t>* known = knownTilesOf(world, e.team);
    double rx = -1.0;
    double ry = -1.0;
    if (e.target != nullptr && known != nullptr) {
        const int tx = tileOf(e.target->x);
        const int ty = tileOf(e.target->y);
        const double r = e.currentWeapon->range;
        double best = 1000000.0;
        for (int j = 0; j < world.rows; ++j) {
            for (int i = 0; i < world.columns; ++i) {
                const double dx = static_cast<double>(i) - tx;
                const double dy = static_cast<double>(j) - ty;
                const bool qualifies = !world.isEntityOnTile(i, j) && !world.isObstacleAt(i, j) &&
                                       e.isLineClear(i, j, tx, ty) &&
                                       std::sqrt(dx * dx + dy * dy) <= r && (*known)[i][j] != 0;
                if (!qualifies) {
                    continue;
                }
                const double d = distance(e.x, e.y, i, j);
                if (d < best) {
                    best = d;
                    rx = i;
                    ry = j;
                }
            }
        }
    }
    if (rx >= 0) {
        e.rallyX = rx;
        e.rallyY = ry;
        e.requestPath(tileOf(rx), tileOf(ry));
        e.state = EntityState::Reposition;
    } else {
        e.state = EntityState::Idle;
        e.action = EntityAction::Continue;
    }
}

void plainPickFrontierTile(Entity& e) {
    const World& world = *e.world;
    const Grid<int32_t>* known = knownTilesOf(world, e.team);
    if (known == nullptr) {
        return;
    }
    std::vector<std::pair<int, int>> frontier;
    for (int i = 0; i < world.columns; ++i) {
        for (int j = 0; j < world.rows; ++j) {
            if (isFrontierTile(world, *known, i, j)) {
                frontier.emplace_back(i, j);
            }
        }
    }
    if (frontier.empty()) {
        return;
    }
    const std::pair<int, int> chosen = frontier[gameRand() % static_cast<int>(frontier.size())];
    e.requestPath(chosen.first, chosen.second);
}
