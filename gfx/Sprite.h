#pragma once

#include <cstddef>
#include <vector>

class oglTexture2D;

// The only two drawing primitives: one texture on an axis-aligned rectangle in logical pixels
// of the game's screen (gfx/Screen.h), (x, y) the top-left corner. Defined in SpriteDraw.cpp.
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

    // Two equal calls put the same pixels on the screen.
    bool operator==(const SpriteCall&) const = default;
};

// While a recorder is set the primitives append their calls to it and issue no GL at all,
// so drawing logic can be checked without a window. nullptr restores real drawing.
void setSpriteRecorder(std::vector<SpriteCall>* recorder);

// A frame as the drawing puts it on the screen: every call that passed the cover's cuts and
// is not wholly off the screen, in order, and how they group, since a layer's cells are batched per
// picture and lone sprites are not. Two equal frames drawn onto screens cleared alike put the same
// pixels there.
struct SpriteFrame {
    enum class Part : unsigned char { Sprites, TileLayer, FadedLayer };
    struct Run {
        Part part;
        std::size_t count;  // calls
        bool operator==(const Run&) const = default;
    };
    std::vector<SpriteCall> calls;
    std::vector<Run> runs;
    // Whether it was recorded for a screen cleared to black, where opaque black fog over
    // nothing is left out.
    bool clearedBlack = true;

    bool operator==(const SpriteFrame&) const = default;
};

// Like setSpriteRecorder, but records the grouping too; the frame's clearedBlack, set before,
// says which screen the cuts are made for. nullptr restores real drawing.
void setFrameRecorder(SpriteFrame* frame);

// Puts a recorded frame on the screen with exactly the GL calls its drawing would have made.
void drawRecordedFrame(const SpriteFrame& frame);

// Whether the screen is black where nothing was drawn since it was cleared (the clear colour,
// and no alpha kept that the fog would change). Asks the GL.
bool clearedScreenIsBlack();

// A layer of grid cells on the screen: cell (x, y) spans from (left[x], top[y]) to
// (left[x + 1], top[y + 1]), so neighbours meet without seams. Cells are listed column by
// column: cell (x, y) is entry x * rows() + y of a layer's per-cell lists.
struct CellGrid {
    std::vector<int> left;  // columns() + 1 corners
    std::vector<int> top;   // rows() + 1 corners
    int columns() const { return left.empty() ? 0 : static_cast<int>(left.size()) - 1; }
    int rows() const { return top.empty() ? 0 : static_cast<int>(top.size()) - 1; }
};

// A layer of tiles: puts on the screen what drawSprite would put there for every cell with a
// picture (nullptr: none), column by column. `underRemembered`: the remembered tiles announced
// by beginCover will be drawn over this layer.
void drawTileLayer(const CellGrid& grid, const std::vector<const oglTexture2D*>& pictures,
                   bool underRemembered = false);

// A layer of one picture faded per cell: puts on the screen what drawSpriteFaded would put
// there for every cell, column by column. Leaves the current colour white.
void drawFadedLayer(const CellGrid& grid, const oglTexture2D* picture,
                    const std::vector<double>& intensities);

// What will be drawn over the frame's lower layers, announced before anything of the frame is
// drawn, on the screen as it was just cleared: the remembered tiles (drawn over the layer
// drawn with underRemembered) and the fog (a faded layer drawn over everything until
// endCover). The drawing may then leave out what these will hide; the sprite recorder sees
// only what is drawn. endCover: what follows is drawn over the fog.
struct Cover {
    CellGrid remembered;
    std::vector<const oglTexture2D*> rememberedPictures;
    CellGrid fog;
    const oglTexture2D* fogPicture = nullptr;
    std::vector<double> fogIntensities;
};
void beginCover(const Cover& cover);
void endCover();
