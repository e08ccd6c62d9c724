#pragma once

#include "app/GameStateManager.h"
#include "app/oglApp.h"

// The game: hands every frame and every input event to its state manager.
class dromlin1App : public oglApp {
public:
    // Opens the window, creates the resource catalogue (which needs the window's GL context)
    // and queues the battle.
    dromlin1App(int& argc, char** argv, const char* title, int width, int height);

    void update() override;
    void display() override;
    void mouseMotion(int x, int y) override;
    void mouseButton(int button, int state, int x, int y) override;
    void keyboard(int key, int x, int y) override;

    GameStateManager stateManager;
};
