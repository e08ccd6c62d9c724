#include "ai/Entity.h"
#include "plain/LiteralRayMarch.h"

bool Entity::hasLineOfSight(double tx, double ty) const {
    return literalHasLineOfSight(*this, tx, ty);
}

bool Entity::isFriendInLineOfFire(double tx, double ty) const {
    return literalIsFriendInLineOfFire(*this, tx, ty);
}

bool Entity::isLineClear(double ax, double ay, double bx, double by) const {
    return literalIsLineClear(*this, ax, ay, bx, by);
}
