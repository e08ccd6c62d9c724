#include "play/ZOL_MainState.h"

#include "world/World.h"

// Placeholder until the battle is wired in: a state that draws nothing.
ZOL_MainState::ZOL_MainState(int id, GameStateManager* manager) : GameState(id, manager) {}
ZOL_MainState::~ZOL_MainState() = default;
bool ZOL_MainState::update() { return true; }
bool ZOL_MainState::draw() { return true; }
void ZOL_MainState::mouseMotion(int, int) {}
void ZOL_MainState::mouseButton(int, int, int, int) {}
void ZOL_MainState::keyboard(int, int, int) {}
