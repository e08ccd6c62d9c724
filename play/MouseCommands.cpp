#include <algorithm>

#include "ai/Entity.h"
#include "app/GameStateManager.h"
#include "app/GlutValues.h"
#include "gfx/ResourceCatalogue.h"
#include "play/HelpButton.h"
#include "play/ZOL_MainState.h"
#include "world/World.h"

namespace {

int noModifiers() {
    return 0;
}

ZOL_MainState::ModifierReader modifierReader = noModifiers;

bool isInGrid(const World& world, int column, int row) {
    return column >= 0 && column < world.columns && row >= 0 && row < world.rows;
}

bool isSelectable(const Entity* entity, int viewMode) {
    return entity != nullptr && (viewMode == ViewMode::All || entity->team == viewMode);
}

void addOnce(std::vector<Entity*>& selection, Entity* entity) {
    if (std::find(selection.begin(), selection.end(), entity) == selection.end()) {
        selection.push_back(entity);
    }
}

// Move onto open ground; engage whoever lives on an occupied tile.
void giveRightClickOrder(ZOL_MainState& play, int column, int row) {
    const World& world = *play.world;
    if (world.isTileFree(column, row)) {
        play.orderSelectionTo(OrderKind::Move, column, row);
    }
    if (play.selection.empty()) {
        return;
    }
    const int team = play.selection.front()->team;
    if (!world.isOtherTeamOnTile(column, row, team) && !world.isTeamOnTile(column, row, team)) {
        return;
    }
    if (const Entity* const target = world.entityAt(column, row)) {
        play.orderSelectionToPursue(*target);
    }
}

void rightPress(ZOL_MainState& play, int modifiers, int x, int y) {
    int column = 0;
    int row = 0;
    play.world->screenToTile(x, y, column, row);
    if (!isInGrid(*play.world, column, row)) {
        return;
    }
    if (modifiers & mouse::kAlt) {
        Order order = play.playerOrder(OrderKind::ToggleWall);
        order.column = column;
        order.row = row;
        play.giveOrder(order);
    } else if (modifiers & mouse::kCtrl) {
        play.orderSelectionTo(OrderKind::Advance, column, row);
    } else {
        giveRightClickOrder(play, column, row);
    }
}

void selectBox(ZOL_MainState& play, int modifiers, int x, int y) {
    const bool toggle = (modifiers & mouse::kCtrl) != 0;
    if (!toggle && !(modifiers & mouse::kShift)) {
        play.selection.clear();
    }
    const World& world = *play.world;
    int columnA = 0;
    int rowA = 0;
    int columnB = 0;
    int rowB = 0;
    world.screenToTile(play.dragStartX, play.dragStartY, columnA, rowA);
    world.screenToTile(x, y, columnB, rowB);
    // Tiles outside the grid hold nobody, so the walk keeps to the grid: a box dragged far
    // beyond it at a small zoom would otherwise cover millions of empty tiles.
    const int firstColumn = std::max(std::min(columnA, columnB), 0);
    const int lastColumn = std::min(std::max(columnA, columnB), world.columns - 1);
    const int firstRow = std::max(std::min(rowA, rowB), 0);
    const int lastRow = std::min(std::max(rowA, rowB), world.rows - 1);
    const int viewMode = ResourceCatalogue::instance()->viewMode;
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row) {
            Entity* const entity = world.entityAt(column, row);
            if (!isSelectable(entity, viewMode)) {
                continue;
            }
            if (toggle) {
                play.toggleSelection(entity);
            } else {
                addOnce(play.selection, entity);
            }
        }
    }
}

}  // namespace

void ZOL_MainState::setModifierReader(ModifierReader reader) {
    modifierReader = reader != nullptr ? reader : noModifiers;
}

void ZOL_MainState::mouseMotion(int x, int y) {
    cursorX = x;
    cursorY = y;
}

void ZOL_MainState::mouseButton(int button, int state, int x, int y) {
    const int modifiers = modifierReader();
    if (button == mouse::kRight && state == mouse::kPress) {
        rightPress(*this, modifiers, x, y);
    } else if (button == mouse::kLeft && state == mouse::kPress) {
        dragging = true;
        dragStartX = cursorX = x;
        dragStartY = cursorY = y;
    } else if (button == mouse::kLeft && state == mouse::kRelease) {
        // Only a click whose press this state saw counts. The press that closes the help
        // screen is not seen here, and its release can arrive frames later, once this state
        // runs again, with the pointer still recorded on the help button: taken as a click,
        // it would open the help screen again at once. The button is hit-tested where the
        // pointer was last seen, not at the release.
        if (dragging && helpButton::contains(cursorX, cursorY)) {
            setStatus(StateStatus::Paused);
            if (manager != nullptr) {
                manager->addHelpScreen();
            }
        } else if (dragging) {
            selectBox(*this, modifiers, x, y);
        }
        dragging = false;
    }
}
