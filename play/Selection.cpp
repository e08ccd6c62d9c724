#include <algorithm>

#include "ai/Entity.h"
#include "play/ZOL_MainState.h"
#include "world/World.h"

void ZOL_MainState::toggleSelection(Entity* entity) {
    const auto found = std::find(selection.rbegin(), selection.rend(), entity);
    if (found != selection.rend()) {
        selection.erase(std::next(found).base());
    } else {
        selection.push_back(entity);
    }
}

void ZOL_MainState::setSelectionState(int state) {
    for (Entity* entity : selection) {
        entity->state = state;
    }
}

void ZOL_MainState::moveSelectionTo(int column, int row) {
    for (Entity* entity : selection) {
        entity->requestPath(column, row);
        entity->state = EntityState::Move;
    }
}

void ZOL_MainState::setSelectionTarget(int column, int row) {
    for (Entity* entity : selection) {
        entity->target = world->entityAt(column, row);
    }
}
