#include "gfx/Texture.h"

#include <cstddef>

void oglTexture2D::notePixels(const unsigned char* rgba) {
    const std::size_t pixels =
        imageWidth > 0 && imageHeight > 0 ? static_cast<std::size_t>(imageWidth) * imageHeight : 0;
    opaque = rgba != nullptr && pixels > 0;
    black = opaque;
    for (std::size_t i = 0; opaque && i < pixels * 4; i += 4) {
        opaque = rgba[i + 3] == 255;
        black = black && rgba[i] == 0 && rgba[i + 1] == 0 && rgba[i + 2] == 0;
    }
    black = black && opaque;
}
