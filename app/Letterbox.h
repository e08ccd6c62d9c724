#pragma once

// Where the game's screen (gfx/Screen.h) sits in a window of any size: at the largest scale that
// fits, centred, with black bars where the window's shape differs. Window pixels, origin at
// the window's top-left corner.
struct Letterbox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

Letterbox fitScreen(int windowWidth, int windowHeight);

// A pointer position in window pixels as a position on the game's screen. Positions over the
// bars fall outside the screen; an empty window maps everything far off the screen.
int windowToScreenX(const Letterbox& box, int windowX);
int windowToScreenY(const Letterbox& box, int windowY);
