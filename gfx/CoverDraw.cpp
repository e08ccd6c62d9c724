#include <GL/gl.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "gfx/Screen.h"
#include "gfx/SpriteCover.h"
#include "gfx/SpriteParts.h"
#include "gfx/Texture.h"

namespace {

// Which cell of a grid covers each logical pixel column and row of the screen (-1: none).
struct PixelLookup {
    std::vector<int> cellOfColumn;
    std::vector<int> cellOfRow;
    int rows = 0;
    bool usable = false;

    void build(const CellGrid& grid) {
        cellOfColumn.assign(screen::kWidth, -1);
        cellOfRow.assign(screen::kHeight, -1);
        rows = grid.rows();
        usable = isRising(grid.left) && isRising(grid.top);
        if (usable) {
            fill(cellOfColumn, grid.left);
            fill(cellOfRow, grid.top);
        }
    }

    static bool isRising(const std::vector<int>& corners) {
        return std::is_sorted(corners.begin(), corners.end());
    }

    static void fill(std::vector<int>& cellOf, const std::vector<int>& corners) {
        const int size = static_cast<int>(cellOf.size());
        for (std::size_t i = 0; i + 1 < corners.size(); ++i) {
            const int from = std::max(corners[i], 0);
            const int to = std::min(corners[i + 1], size);
            for (int pixel = from; pixel < to; ++pixel) {
                cellOf[pixel] = static_cast<int>(i);
            }
        }
    }
};

// The on-screen pixels of an unturned quad: [left, right) x [top, bottom), possibly empty.
struct ScreenRect {
    int left, top, right, bottom;
    bool empty() const { return left >= right || top >= bottom; }
};

ScreenRect onScreen(const SpriteCall& call) {
    return {std::max(std::min(call.left, call.right), 0),
            std::max(std::min(call.top, call.bottom), 0),
            std::min(std::max(call.left, call.right), screen::kWidth),
            std::min(std::max(call.top, call.bottom), screen::kHeight)};
}

// Whether every on-screen pixel of the rectangle lies in a cell whose flag is set.
bool isWhollyIn(const ScreenRect& rect, const PixelLookup& lookup,
                const std::vector<unsigned char>& flags) {
    if (!lookup.usable || rect.empty()) {
        return false;
    }
    const int x0 = lookup.cellOfColumn[rect.left];
    const int x1 = lookup.cellOfColumn[rect.right - 1];
    const int y0 = lookup.cellOfRow[rect.top];
    const int y1 = lookup.cellOfRow[rect.bottom - 1];
    if (x0 < 0 || x1 < 0 || y0 < 0 || y1 < 0) {
        return false;
    }
    for (int x = x0; x <= x1; ++x) {
        for (int y = y0; y <= y1; ++y) {
            if (flags[static_cast<std::size_t>(x) * lookup.rows + y] == 0) {
                return false;
            }
        }
    }
    return true;
}

// The frame's cover while it is announced (see beginCover).
struct CoverState {
    bool active = false;
    PixelLookup remembered;
    std::vector<unsigned char> rememberedOpaque;  // per cell: an opaque picture goes there
    PixelLookup fog;
    CellGrid fogGrid;
    std::vector<unsigned char> fogOpaque;   // per cell: fully opaque fog goes there
    std::vector<unsigned char> drawnUnder;  // per fog cell: something was drawn beneath it
    bool blackOverBlack = false;  // an opaque fog cell over the cleared screen changes nothing
    bool turnedDrawn = false;     // a turned quad was drawn: where, is not worked out
};

CoverState cover;

// A recording makes its cuts for the screen it is recorded for, without asking the GL.
bool screenIsBlackWhereNothingIsDrawn() {
    return isRecordingSprites() ? recordedScreenIsBlack() : clearedScreenIsBlack();
}

}  // namespace

bool clearedScreenIsBlack() {
    GLfloat clear[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    GLint alphaBits = 1;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    return clear[0] == 0.0f && clear[1] == 0.0f && clear[2] == 0.0f &&
           (alphaBits == 0 || clear[3] >= 1.0f);
}

bool isHiddenByCover(const oglTexture2D* texture, const SpriteCall& call, bool underRemembered) {
    if (!cover.active || !isUnturned(texture)) {
        return false;
    }
    const ScreenRect rect = onScreen(call);
    return isWhollyIn(rect, cover.fog, cover.fogOpaque) ||
           (underRemembered && isWhollyIn(rect, cover.remembered, cover.rememberedOpaque));
}

void noteDrawnUnderCover(const oglTexture2D* texture, const SpriteCall& call) {
    if (!cover.active) {
        return;
    }
    if (!isUnturned(texture)) {
        cover.turnedDrawn = true;
        return;
    }
    if (!cover.fog.usable || cover.fogGrid.columns() == 0 || cover.fogGrid.rows() == 0) {
        return;
    }
    ScreenRect rect = onScreen(call);
    rect.left = std::max(rect.left, cover.fogGrid.left.front());
    rect.right = std::min(rect.right, cover.fogGrid.left.back());
    rect.top = std::max(rect.top, cover.fogGrid.top.front());
    rect.bottom = std::min(rect.bottom, cover.fogGrid.top.back());
    if (rect.empty()) {
        return;
    }
    const int x0 = cover.fog.cellOfColumn[rect.left];
    const int x1 = cover.fog.cellOfColumn[rect.right - 1];
    const int y0 = cover.fog.cellOfRow[rect.top];
    const int y1 = cover.fog.cellOfRow[rect.bottom - 1];
    for (int x = x0; x <= x1; ++x) {
        for (int y = y0; y <= y1; ++y) {
            cover.drawnUnder[static_cast<std::size_t>(x) * cover.fog.rows + y] = 1;
        }
    }
}

bool isAnnouncedFog(const CellGrid& grid, const std::vector<double>& intensities) {
    return cover.active && cover.fog.usable && grid.left == cover.fogGrid.left &&
           grid.top == cover.fogGrid.top && intensities.size() == cover.fogOpaque.size();
}

bool fogCellChangesNothing(std::size_t cell) {
    return cover.blackOverBlack && !cover.turnedDrawn && cover.fogOpaque[cell] != 0 &&
           cover.drawnUnder[cell] == 0;
}

void beginCover(const Cover& announced) {
    cover.active = true;
    cover.turnedDrawn = false;
    cover.remembered.build(announced.remembered);
    cover.rememberedOpaque.assign(announced.rememberedPictures.size(), 0);
    for (std::size_t i = 0; i < announced.rememberedPictures.size(); ++i) {
        const oglTexture2D* picture = announced.rememberedPictures[i];
        cover.rememberedOpaque[i] = picture != nullptr && picture->opaque && isUnturned(picture);
    }
    cover.fog.build(announced.fog);
    cover.fogGrid = announced.fog;
    const oglTexture2D* fogPicture = announced.fogPicture;
    const bool opaqueFog = fogPicture != nullptr && fogPicture->opaque && isUnturned(fogPicture);
    cover.fogOpaque.assign(announced.fogIntensities.size(), 0);
    for (std::size_t i = 0; i < announced.fogIntensities.size(); ++i) {
        // Full colour, full alpha: the blend leaves only the fog picture's own pixel.
        cover.fogOpaque[i] = opaqueFog && colourComponent(announced.fogIntensities[i]) == 1.0f;
    }
    cover.drawnUnder.assign(announced.fogIntensities.size(), 0);
    cover.blackOverBlack = opaqueFog && fogPicture->black && screenIsBlackWhereNothingIsDrawn();
    if (static_cast<std::size_t>(announced.remembered.columns()) * announced.remembered.rows() !=
        announced.rememberedPictures.size()) {
        cover.remembered.usable = false;
    }
    if (static_cast<std::size_t>(announced.fog.columns()) * announced.fog.rows() !=
        announced.fogIntensities.size()) {
        cover.fog.usable = false;
    }
}

void endCover() {
    cover.active = false;
}
