#include "plain/LiteralFog.h"
#include "world/World.h"

void World::computeFog(int team) {
    literalComputeFog(*this, team);
}
