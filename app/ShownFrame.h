#pragma once

#include <functional>

#include "gfx/Sprite.h"

// The picture on the screen, as the sprite recorder took it, so that a frame that would put
// the very same picture there again is left out: a paused battle or one where nothing moves
// then costs next to no drawing. A frame is recorded once, without GL, and what must be
// drawn is drawn from that record.
class ShownFrame {
public:
    // Records the frame `drawFrame` draws, for a screen cleared to black or not, and says
    // whether it must be drawn: it differs from the one on the screen, or the screen was lost.
    // A frame that must be drawn is taken to be on the screen from now on, so the caller
    // draws it at once, with draw().
    bool needsDrawing(const std::function<void()>& drawFrame, bool clearedBlack = true);

    // Puts the frame last recorded on the screen, as its drawing would have.
    void draw() const { drawRecordedFrame(shown); }

    // The screen no longer shows the last picture (an expose, a new window size): the next
    // frame is drawn whatever it holds.
    void lose() { lost = true; }

private:
    SpriteFrame shown;
    SpriteFrame recorded;
    bool lost = true;
};
