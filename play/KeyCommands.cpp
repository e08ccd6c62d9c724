#include <climits>

#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "play/ZOL_MainState.h"
#include "world/World.h"

namespace {

constexpr int kHealthStep = 5;
constexpr int kFullHealth = 100;

// Tiles per key press; a wider view scrolls by fewer tiles.
double scrollStep(double zoom) {
    return (22.5 - 1 / (0.4 * zoom)) / 5.0;
}

void clampCamera(World& world) {
    if (world.cameraX < 0) {
        world.cameraX = 0;
    }
    if (world.cameraX > world.columns) {
        world.cameraX = world.columns;
    }
    if (world.cameraY < 0) {
        world.cameraY = 0;
    }
    if (world.cameraY > world.rows) {
        world.cameraY = world.rows;
    }
}

// One key press along one camera axis: -1 towards the top or left, +1 towards the bottom or
// right.
void scroll(World& world, double& axis, int direction) {
    axis += direction * scrollStep(world.zoom);
    clampCamera(world);
}

// w, s, a and d scroll up, down, left and right.
void scrollByKey(World& world, int key) {
    const bool vertical = key == 'w' || key == 's';
    const int direction = key == 'w' || key == 'a' ? -1 : 1;
    scroll(world, vertical ? world.cameraY : world.cameraX, direction);
}

void cycleView(ZOL_MainState& play) {
    play.selection.clear();
    int& viewMode = ResourceCatalogue::instance()->viewMode;
    viewMode = viewMode == ViewMode::Red    ? ViewMode::Blue
               : viewMode == ViewMode::Blue ? ViewMode::All
                                            : ViewMode::Red;
    play.world->clearPaths();
}

bool isAllTeamsView() {
    return ResourceCatalogue::instance()->viewMode == ViewMode::All;
}

}  // namespace

void ZOL_MainState::keyboard(int key, int x, int y) {
    cursorX = x;
    cursorY = y;
    switch (key) {
        case '+':
        case '=':
            world->zoomIn();
            break;
        case '-':
        case '_':
            world->zoomOut();
            break;
        case 'w':
        case 's':
        case 'a':
        case 'd':
            scrollByKey(*world, key);
            break;
        case 'r':
        case 'R':
            cycleView(*this);
            break;
        case '`':
            world->clearPaths();
            break;
        case 'i':
            setSelectionState(EntityState::Flee);
            break;
        case 'e':
            setSelectionState(EntityState::Explore);
            break;
        case 'p':
            setSelectionState(EntityState::ExploreAndEngage);
            break;
        case 'g':
            if (isAllTeamsView()) {
                damageSelection();
            }
            break;
        case 'h':
            if (isAllTeamsView()) {
                healSelection();
            }
            break;
        default:
            break;
    }
}

void ZOL_MainState::damageSelection() {
    for (Entity* entity : selection) {
        // Held down for long enough the key would otherwise wrap a body's health around.
        entity->health =
            entity->health >= INT_MIN + kHealthStep ? entity->health - kHealthStep : INT_MIN;
        if (entity->health <= 0) {
            entity->kill();
        }
    }
}

void ZOL_MainState::healSelection() {
    for (Entity* entity : selection) {
        // Dead stays dead: a healed body would count as alive while its state stays dead, and
        // once dropped from the World's list it would stand as an invisible ghost.
        if (entity->health <= 0) {
            continue;
        }
        entity->health =
            entity->health > kFullHealth - kHealthStep ? kFullHealth : entity->health + kHealthStep;
    }
}
