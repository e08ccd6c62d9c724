#include "gfx/SpriteFont.h"

#include <limits>

#include "gfx/ImageLoader.h"

namespace {

constexpr int kPictureWidth = 1024;
constexpr int kPictureHeight = 512;
constexpr int kCellPixels = 64;

// 1.5 x the font size, truncated; a size too large for an int is held at the largest one.
int glyphSizeFor(unsigned int size) {
    const double scaled = size * 1.5;
    const double largest = std::numeric_limits<int>::max();
    return scaled >= largest ? std::numeric_limits<int>::max() : static_cast<int>(scaled);
}

}  // namespace

bool SpriteFont::load(unsigned int size, const std::string& path) {
    glyphSize = glyphSizeFor(size);
    texture = std::make_unique<oglTexture2D>();
    const bool loaded = loadPicture(*texture, path, kPictureWidth, kPictureHeight);
    texture->width = kPictureWidth;
    texture->height = kPictureHeight;
    spacing = (kCellPixels - glyphSize) * 0.4 + 35.37;
    return loaded;
}
