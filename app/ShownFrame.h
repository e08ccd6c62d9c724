#pragma once

#include <functional>
#include <vector>

#include "gfx/Sprite.h"

// The sprites of the picture on the screen, so that a frame that would put the very same
// picture there again is left out: a paused battle or one where nothing moves then costs next
// to no drawing. A frame is judged on the sprite recorder, which issues no GL.
class ShownFrame {
public:
    // Records the sprites `drawFrame` puts on the screen and says whether the frame must be
    // drawn: its sprites differ from those on the screen, or the screen was lost. A frame that
    // must be drawn is taken to be on the screen from now on, so the caller draws it at once.
    bool needsDrawing(const std::function<void()>& drawFrame);

    // The screen no longer shows the last picture (an expose, a new window size): the next
    // frame is drawn whatever it holds.
    void lose() { lost = true; }

private:
    std::vector<SpriteCall> shown;
    std::vector<SpriteCall> recorded;
    bool lost = true;
};
