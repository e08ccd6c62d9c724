#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gfx/SpriteFont.h"
#include "gfx/Texture.h"

// Whose view of the battle is shown; also decides which team waits for the player's orders.
namespace ViewMode {
enum : int { Red = 0, Blue = 1, All = 2 };
}

// The one process-wide owner of every texture and font, and of the current view mode.
class ResourceCatalogue {
public:
    static constexpr int kTextureCount = 45;
    static constexpr int kFontCount = 13;

    // The first call seeds gameRand() with the time, creates every texture and loads it through
    // the installed ImageLoader, then loads the fonts. Later calls return the same object.
    static ResourceCatalogue* instance();

    // Where the picture in a slot comes from: its file, relative to the working directory, and
    // its nominal size; file is nullptr for a slot outside 0 to 44.
    struct TextureSource {
        const char* file = nullptr;
        int width = 0;
        int height = 0;
    };
    static TextureSource textureSource(int slot);

    // nullptr for a slot outside 0 to 44, which draws untextured.
    oglTexture2D* texture(int slot) const {
        return slot < 0 || slot >= kTextureCount ? nullptr : textures[slot].get();
    }

    SpriteFont fonts[kFontCount];
    std::unique_ptr<oglTexture2D> textures[kTextureCount];
    int viewMode = ViewMode::Red;
    // The files the installed loader could not load, in load order; the game says so in its
    // window as well as on standard output.
    std::vector<std::string> missingPictures;

private:
    ResourceCatalogue() = default;
    void seedRandom();
    void loadTextures();
    void loadFonts();
};

// The catalogue's picture in a slot, for the drawing (nullptr outside the slots).
inline const oglTexture2D* cataloguePicture(int slot) {
    return ResourceCatalogue::instance()->texture(slot);
}
