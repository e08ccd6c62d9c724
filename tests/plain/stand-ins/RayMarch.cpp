#include "ai/Entity.h"
#include "plain/PlainRayMarch.h"

bool Entity::hasLineOfSight(double tx, double ty) const {
    return plainHasLineOfSight(*this, tx, ty);
}

bool Entity::isFriendInLineOfFire(double tx, double ty) const {
    return plainIsFriendInLineOfFire(*this, tx, ty);
}

bool Entity::isLineClear(double ax, double ay, double bx, double by) const {
    return plainIsLineClear(*this, ax, ay, bx, by);
}
