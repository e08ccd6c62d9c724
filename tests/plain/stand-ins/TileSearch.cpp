#include "ai/Entity.h"
#include "plain/LiteralTileSearch.h"

void Entity::findHidingTile(const Entity& threat) {
    literalFindHidingTile(*this, threat);
}

void Entity::findFiringPosition() {
    literalFindFiringPosition(*this);
}

void Entity::pickFrontierTile() {
    literalPickFrontierTile(*this);
}
