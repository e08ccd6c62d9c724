#include "app/GameStateManager.h"
#include "play/ZOL_MainState.h"

// Kept apart from the manager so that the manager links without the battle.
bool GameStateManager::addMainState() {
    return addState<ZOL_MainState>();
}
