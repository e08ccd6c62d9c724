#pragma once

// The OpenGL state every drawing relies on, set once after the window exists: texturing and
// alpha blending on, and a 1024 x 768 projection with the origin at the top-left corner and
// y growing downwards.
void setFixedRenderState();
