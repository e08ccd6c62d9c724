#pragma once

#include <memory>
#include <vector>

#include "app/GameState.h"

// Keeps the live states bottom to top, runs the frame, routes input, adds states between
// frames and removes finished ones.
class GameStateManager {
public:
    bool update();
    bool draw();
    void mouseMotion(int x, int y);
    void mouseButton(int button, int state, int x, int y);
    void keyboard(int key, int x, int y);

    // Creation: the next id, constructed with (id, this manager), running, queued until the
    // end of the next update.
    template <class State>
    bool addState() {
        ++nextId;
        auto created = std::make_unique<State>(nextId, this);
        created->setStatus(StateStatus::Running);
        pendingStates.push_back(std::move(created));
        return true;
    }
    bool addMainState();
    bool addHelpScreen();

    const std::vector<std::unique_ptr<GameState>>& liveStates() const { return states; }
    const std::vector<std::unique_ptr<GameState>>& queuedStates() const { return pendingStates; }

private:
    void resumeTopState();
    void updateRunningStates();
    void removeOneFinishedState();
    void joinPendingStates();

    std::vector<std::unique_ptr<GameState>> states;
    std::vector<std::unique_ptr<GameState>> pendingStates;
    int nextId = -1;
};
