#include "app/GameStateManager.h"

#include <cstddef>
#include <iterator>

namespace {

bool isRunning(const GameState& state) {
    return state.getStatus() == StateStatus::Running;
}

bool isUpdated(const GameState& state) {
    return isRunning(state) ||
           (state.getStatus() == StateStatus::Paused && state.updatesWhilePaused());
}

}  // namespace

bool GameStateManager::update() {
    resumeTopState();
    updateRunningStates();
    removeOneFinishedState();
    joinPendingStates();
    return true;
}

// A paused state left on top (the screen above it has gone) runs again. A state that has
// just queued another above it is not on top: resuming it before the newcomer joins would
// let the battle run on under the help screen.
void GameStateManager::resumeTopState() {
    if (states.empty() || !pendingStates.empty()) {
        return;
    }
    GameState& top = *states.back();
    const int status = top.getStatus();
    if (status != StateStatus::Running && status != StateStatus::Finished) {
        top.setStatus(StateStatus::Running);
    }
}

// Indices rather than iterators: a state may queue others while it runs, and nothing a state
// does may invalidate the walk.
void GameStateManager::updateRunningStates() {
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (isUpdated(*states[i])) {
            states[i]->update();
        }
    }
}

// Only the uppermost finished state goes; another one waits for the next frame.
void GameStateManager::removeOneFinishedState() {
    for (auto it = states.rbegin(); it != states.rend(); ++it) {
        if ((*it)->getStatus() == StateStatus::Finished) {
            states.erase(std::next(it).base());
            return;
        }
    }
}

void GameStateManager::joinPendingStates() {
    for (auto& pending : pendingStates) {
        states.push_back(std::move(pending));
    }
    pendingStates.clear();
}

bool GameStateManager::draw() {
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (states[i]->getStatus() <= StateStatus::Paused) {
            states[i]->draw();
        }
    }
    return true;
}

void GameStateManager::mouseMotion(int x, int y) {
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (isRunning(*states[i])) {
            states[i]->mouseMotion(x, y);
        }
    }
}

void GameStateManager::mouseButton(int button, int state, int x, int y) {
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (isRunning(*states[i])) {
            states[i]->mouseButton(button, state, x, y);
        }
    }
}

void GameStateManager::keyboard(int key, int x, int y) {
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (isRunning(*states[i])) {
            states[i]->keyboard(key, x, y);
        }
    }
}
