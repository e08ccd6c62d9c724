#include "app/GameState.h"

#include <GL/gl.h>

#include "base/GameClock.h"

GameState::GameState(int id, GameStateManager* manager)
    : status(StateStatus::Running),
      id(id),
      active(true),
      manager(manager),
      startTicks(gameClock()) {}

bool GameState::setStatus(int value) {
    status = value;
    return true;
}

int GameState::getStatus() const {
    return status;
}

int GameState::getId() const {
    return id;
}

bool GameState::init() {
    active = true;
    status = StateStatus::Running;
    startTicks = gameClock();
    return true;
}

bool GameState::update() {
    return true;
}

bool GameState::draw() {
    return true;
}

void GameState::mouseMotion(int, int) {}

void GameState::mouseButton(int, int, int, int) {}

void GameState::keyboard(int, int, int) {}

// 255 is out of OpenGL's colour range on purpose: it clamps to white with alpha 0.
void GameState::setClearColour() {
    glClearColor(255.0f, 255.0f, 255.0f, 0.0f);
}
