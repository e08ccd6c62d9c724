#pragma once

#include <memory>
#include <string>

#include "gfx/Texture.h"

// A bitmap font: one picture of 64 x 64 glyph cells, 16 to a row. Nothing draws text; the
// fonts are loaded and kept.
struct SpriteFont {
    std::unique_ptr<oglTexture2D> texture;
    int cellWidth = 64;
    int cellHeight = 64;
    int glyphSize = 64;  // 1.5 x the font size once loaded
    int cellsPerRow = 16;
    int lastChar = 127;
    int layoutValue = 30;
    double spacing = 15.0;
    double layoutRatioA = 0.1;
    double layoutRatioB = 0.1;

    // Loads the picture through loadPicture at its nominal 1024 x 512 and sets the glyph size
    // and spacing for the font size. Returns whether the picture loaded; a font that failed
    // keeps an empty texture record.
    bool load(unsigned int size, const std::string& path);
};
