#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "play/ZOL_MainState.h"
#include "world/World.h"

namespace {

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

// The view itself is the player's own; the battle learns only which team now waits for orders.
void cycleView(ZOL_MainState& play) {
    play.selection.clear();
    int& viewMode = ResourceCatalogue::instance()->viewMode;
    viewMode = viewMode == ViewMode::Red    ? ViewMode::Blue
               : viewMode == ViewMode::Blue ? ViewMode::All
                                            : ViewMode::Red;
    Order order = play.playerOrder(OrderKind::SwitchView);
    order.commandedTeams = commandedTeamsInView(viewMode);
    play.giveOrder(order);
}

bool isAllTeamsView() {
    return ResourceCatalogue::instance()->viewMode == ViewMode::All;
}

// Against another player the view is the player's own team's, and the keys that reach into
// both teams (the view, clearing every route, damage and healing) do nothing.
bool reachesBothTeams(int key) {
    return key == 'r' || key == 'R' || key == '`' || key == 'g' || key == 'h';
}

}  // namespace

void ZOL_MainState::keyboard(int key, int x, int y) {
    cursorX = x;
    cursorY = y;
    if (versus() != nullptr && reachesBothTeams(key)) {
        return;
    }
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
            giveOrder(playerOrder(OrderKind::ClearRoutes));
            break;
        case 'i':
            orderSelection(OrderKind::Flee);
            break;
        case 'e':
            orderSelection(OrderKind::Explore);
            break;
        case 'p':
            orderSelection(OrderKind::ExploreAndEngage);
            break;
        case 'g':
            if (isAllTeamsView()) {
                orderSelection(OrderKind::Damage);
            }
            break;
        case 'h':
            if (isAllTeamsView()) {
                orderSelection(OrderKind::Heal);
            }
            break;
        default:
            break;
    }
}
