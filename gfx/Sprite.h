#pragma once

#include <vector>

class oglTexture2D;

// The only two drawing primitives: one texture on an axis-aligned rectangle in logical pixels
// of the fixed 1024 x 768 projection, (x, y) the top-left corner. Defined in SpriteDraw.cpp.
bool drawSprite(const oglTexture2D* texture, int width, int height, int x, int y);

// The colour (and so brightness and opacity) is scaled by intensity; the four edges are
// truncated separately. Leaves the current colour white.
bool drawSpriteFaded(const oglTexture2D* texture, double intensity, double width, double height,
                     double x, double y);

// Truncates a screen coordinate toward zero. A value that is not finite or lies beyond any
// screen (as extreme zooms and scrolls can produce) becomes a far off-screen int instead of
// undefined behaviour.
int toPixel(double value);

// One primitive call as the screen receives it: the integer rectangle after truncation.
struct SpriteCall {
    const oglTexture2D* texture;
    bool faded;
    double intensity;  // 1.0 for drawSprite
    int left, top, right, bottom;
};

// While a recorder is set the primitives append their calls to it and issue no GL at all,
// so drawing logic can be checked without a window. nullptr restores real drawing.
void setSpriteRecorder(std::vector<SpriteCall>* recorder);
