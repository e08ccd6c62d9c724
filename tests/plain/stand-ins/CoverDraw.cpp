#include "gfx/Sprite.h"

// The plain drawing draws every quad, whatever the frame's cover.
void beginCover(const Cover&) {}

void endCover() {}
