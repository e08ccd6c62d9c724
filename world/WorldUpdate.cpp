#include <cstddef>

#include "ai/Entity.h"
#include "base/SaturatingInt.h"
#include "gfx/Screen.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

constexpr double kScreenCentreX = screen::kWidth / 2.0;
constexpr double kScreenCentreY = screen::kHeight / 2.0;

// The removed soldier stays alive in the roster: targets and the selection may still name it.
void dropOneDeadEntity(std::vector<Entity*>& entities) {
    for (std::size_t i = entities.size(); i > 0; --i) {
        if (entities[i - 1]->health <= 0) {
            entities.erase(entities.begin() + static_cast<std::ptrdiff_t>(i - 1));
            return;
        }
    }
}

// A camera that lands outside the int range saturates.
void refreshCamera(World& world) {
    world.tilePixelWidth = world.zoom * TILE_SIZE;
    world.tilePixelHeight = world.tilePixelWidth;
    world.viewOffsetX = saturatingInt(kScreenCentreX - world.cameraX * world.tilePixelWidth);
    world.viewOffsetY = saturatingInt(kScreenCentreY - world.cameraY * world.tilePixelWidth);
}

}  // namespace

// The fog belongs to the step, not to the picture: the soldiers' searches read the tiles it
// discovers, so it must follow every update exactly once, however often frames are drawn.
void World::step() {
    update();
    computeFogs();
}

void World::computeFogs() {
    computeFog(Team::Red);
    computeFog(Team::Blue);
}

void World::update() {
    dropOneDeadEntity(entities);
    // Counted once: the turns are for the soldiers listed when the step began.
    const std::size_t count = entities.size();
    for (std::size_t i = 0; i < count && i < entities.size(); ++i) {
        entities[i]->update();
    }
    refreshCamera(*this);
    moveBullets(*this);
    resolveBulletHits(*this);
}
