#include "ai/Flee.h"

#include <cmath>

#include "ai/Entity.h"
#include "world/World.h"

namespace {

Entity* chooseThreat(const Entity& e, bool pursuedWhenHurt, bool targetedWhenBadlyHurt) {
    if (pursuedWhenHurt) {
        return e.nearestPursuer();
    }
    if (targetedWhenBadlyHurt) {
        return e.nearestEnemyTargeting();
    }
    return nullptr;
}

bool isInsideGrid(double px, double py, int columns, int rows) {
    return 0 <= px && px < columns && 0 <= py && py < rows;
}

// When even the first step away leaves the grid, head for the edge on the far side of the
// centre line instead.
void aimAcrossCentreLine(const Entity& e, double dx, double dy, double& px, double& py) {
    const int columns = e.world->columns;
    const int rows = e.world->rows;
    if (dy < dx) {
        py = (rows / 2 < e.y) ? 0 : rows - 1;
    } else {
        px = (columns / 2 < e.x) ? 0 : columns - 1;
    }
}

// The farthest point inside the grid on the ray from the threat's tile through the soldier,
// in whole steps of the soldier's offset from that tile.
void runStraightAway(Entity& e, const Entity& threat) {
    const int columns = e.world->columns;
    const int rows = e.world->rows;
    const double dx = e.x - std::trunc(threat.x);
    const double dy = e.y - std::trunc(threat.y);
    double px = e.x;
    double py = e.y;
    // A threat on the soldier's own tile gives no direction to step in; stepping by zero
    // would never leave the grid.
    if (dx != 0.0 || dy != 0.0) {
        px = e.x + dx;
        py = e.y + dy;
        while (isInsideGrid(px, py, columns, rows)) {
            px += dx;
            py += dy;
        }
        px -= dx;
        py -= dy;
    }
    if (px == e.x && py == e.y) {
        aimAcrossCentreLine(e, dx, dy, px, py);
    }
    e.requestPath(static_cast<int>(std::floor(px)), static_cast<int>(std::floor(py)));
}

}  // namespace

void decideFlee(Entity& e, bool pursuedWhenHurt, bool targetedWhenBadlyHurt) {
    Entity* const threat = chooseThreat(e, pursuedWhenHurt, targetedWhenBadlyHurt);
    if (threat == nullptr) {
        return;
    }
    e.world->setTeamTarget(threat, e.team);
    e.findHidingTile(*threat);
    if (e.goalX == -1.0) {
        runStraightAway(e, *threat);
    }
    e.state = EntityState::Move;
    e.action = EntityAction::Walk;
}
