#include "app/GameStateManager.h"
#include "play/ZOL_HelpScreen.h"

// Kept apart from the manager so that the manager links without the help screen.
bool GameStateManager::addHelpScreen() {
    return addState<ZOL_HelpScreen>();
}
