#include "plain/PlainFog.h"
#include "world/World.h"

void World::computeFog(int team) {
    plainComputeFog(*this, team);
}
