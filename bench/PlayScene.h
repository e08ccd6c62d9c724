#pragma once

#include <memory>

#include "Fields.h"

class GameStateManager;
class ZOL_MainState;

// Opens the game's 1024 x 768 GLUT window with its fixed render state and loads every picture
// from the assets folder, which becomes the working directory. False without an X display.
bool openGameWindow(int& argc, char** argv);

// The play state as the game starts it, on the field's map, after `frames` frames of battle in
// which both teams fought on their own (each frame updated and drawn, as the game does); then
// set to the given zoom and view mode, with its camera offsets refreshed.
std::unique_ptr<ZOL_MainState> battleUnderWay(GameStateManager& manager, const Field& field,
                                              int frames, double zoom, int viewMode);

// One frame as the game's display callback draws it, finished by the GL before returning.
void drawWholeFrame(ZOL_MainState& play);
