#pragma once

// The browser's GLUT is emscripten's own, which has no freeglut header: the game's sources
// include this one in its place.
#include <GL/glut.h>

// The page has no game mode to leave.
inline void glutLeaveGameMode() {}
