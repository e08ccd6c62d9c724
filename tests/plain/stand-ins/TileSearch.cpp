#include "ai/Entity.h"
#include "plain/PlainTileSearch.h"

void Entity::findHidingTile(const Entity& threat) {
    plainFindHidingTile(*this, threat);
}

void Entity::findFiringPosition() {
    plainFindFiringPosition(*this);
}

void Entity::pickFrontierTile() {
    plainPickFrontierTile(*this);
}
