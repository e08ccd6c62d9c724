#include "gfx/ImageLoader.h"

namespace {
ImageLoader installedLoader = nullptr;
}

void setImageLoader(ImageLoader loader) {
    installedLoader = loader;
}

bool hasImageLoader() {
    return installedLoader != nullptr;
}

bool loadPicture(oglTexture2D& texture, const std::string& path, int width, int height) {
    return installedLoader != nullptr && installedLoader(texture, path, width, height);
}
