#pragma once

// The OpenGL state every drawing relies on, set once after the window exists: texturing and
// alpha blending on, and a projection of the game's screen (gfx/Screen.h) with the origin at the
// top-left corner and y growing downwards.
void setFixedRenderState();

// Clears the colour buffer for a new frame. The window has a depth buffer, but no depth test
// is ever enabled, so nothing reads it: clearing it too would fill a second screen of memory
// every frame for nothing (about a tenth of the software renderer's time).
void clearFrame();
