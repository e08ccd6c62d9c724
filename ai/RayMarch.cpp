#include "ai/RayMarch.h"

#include "ai/Entity.h"
#include "base/TileOf.h"
#include "world/World.h"

bool Entity::hasLineOfSight(double tx, double ty) const {
    const World& w = *world;
    return marchRay(w, x, y, tx, ty, false, [&w](double px, double py) {
               return ray::isWallAt(w, px, py);
           }) != RayOutcome::Hit;
}

bool Entity::isFriendInLineOfFire(double tx, double ty) const {
    const World& w = *world;
    const int ownTeam = team;
    const RayOutcome outcome = marchRay(w, x, y, tx, ty, true, [&w, ownTeam](double px, double py) {
        return w.isTeamOnTile(tileOf(px), tileOf(py), ownTeam);
    });
    return outcome != RayOutcome::Clear;
}

bool Entity::isLineClear(double ax, double ay, double bx, double by) const {
    const World& w = *world;
    return marchRay(w, ax, ay, bx, by, true, [&w](double px, double py) {
               return w.isEntityOnTile(tileOf(px), tileOf(py)) || ray::isWallAt(w, px, py);
           }) != RayOutcome::Hit;
}
