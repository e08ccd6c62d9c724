#include "gfx/ResourceCatalogue.h"

#include <ctime>
#include <iterator>

#include "gfx/GameRandom.h"
#include "gfx/ImageLoader.h"

namespace {

struct TextureEntry {
    int slot;
    const char* file;
    int width;
    int height;
};

// In load order, which is not slot order: the start-up messages follow this order.
constexpr TextureEntry kTextureTable[] = {
    {0, "buttons/tamblo.png", 100, 100},
    {2, "marbleNormal.png", 100, 100},
    {1, "emptyPeg.png", 100, 100},
    {3, "marbleBlue.png", 100, 100},
    {4, "possibleMove.png", 100, 100},
    {5, "pyramid.png", 768, 768},
    {7, "undoButton.png", 128, 64},
    {8, "resetButton.png", 128, 64},
    {6, "hintButton.png", 128, 64},
    {9, "rpsBackground.png", 1024, 768},
    {10, "rock.png", 128, 128},
    {11, "paper.png", 128, 128},
    {12, "scissors.png", 128, 128},
    {13, "playerWins.png", 128, 128},
    {14, "cpuWins.png", 128, 128},
    {15, "tieHand.png", 128, 128},
    {16, "baseTile.png", 128, 128},
    {17, "obstacle.png", 128, 128},
    {18, "nullTile.png", 128, 128},
    {19, "blackTile.png", 128, 128},
    {20, "entityArrow.png", 128, 128},
    {21, "entityBlue.png", 128, 128},
    {22, "entityBlueN.png", 128, 128},
    {23, "entityRed.png", 128, 128},
    {24, "entityRedN.png", 128, 128},
    {25, "entitySelected.png", 128, 128},
    {26, "entityTarget.png", 128, 128},
    {27, "greenPixel.png", 1, 1},
    {29, "zolRedPath.png", 128, 128},
    {30, "zolBluePath.png", 128, 128},
    {28, "entityTargetEntity.png", 128, 128},
    {31, "zolRedActive.png", 1024, 64},
    {32, "zolBlueActive.png", 1024, 64},
    {33, "zolGodActive.png", 1024, 64},
    {34, "zolFog.png", 128, 128},
    {35, "redPixel.png", 1, 1},
    {36, "greenPixel.png", 1, 1},
    {37, "yellowPixel.png", 1, 1},
    {39, "zolEntityDead.png", 128, 128},
    {38, "zolHealthBorder.png", 128, 128},
    {40, "zolBulletOrange.png", 16, 16},
    {41, "zolBulletYellow.png", 16, 16},
    {42, "zolBulletShotgun.png", 8, 8},
    {43, "zolHelpScreen.png", 800, 446},
    {44, "helpButton.png", 150, 100},
};
static_assert(std::size(kTextureTable) == ResourceCatalogue::kTextureCount);

struct FontEntry {
    int record;
    const char* file;
    unsigned int size;
};

// Records 5 and 7 are never loaded.
constexpr FontEntry kFontTable[] = {
    {0, "fonts\\arialSpriteFontBlack.png", 32},    {1, "fonts\\arialSpriteFontBlack.png", 24},
    {2, "fonts\\arialSpriteFontBlack.png", 18},    {3, "fonts\\arialSpriteFontBlack.png", 16},
    {4, "fonts\\arialSpriteFontBlack.png", 14},    {8, "fonts\\digitalSpriteFontBlack.png", 32},
    {9, "fonts\\digitalSpriteFontBlack.png", 16},  {10, "fonts\\digitalSpriteFontBlack.png", 12},
    {6, "fonts\\schwabenSpriteFontWhite.png", 64}, {11, "fonts\\arialSpriteFontRed.png", 12},
    {12, "fonts\\arialSpriteFontRed.png", 14},
};

}  // namespace

// Never destroyed: textures and fonts live until the process ends.
ResourceCatalogue* ResourceCatalogue::instance() {
    static ResourceCatalogue* catalogue = nullptr;
    if (catalogue == nullptr) {
        catalogue = new ResourceCatalogue();
        catalogue->seedRandom();
        catalogue->loadTextures();
        catalogue->loadFonts();
    }
    return catalogue;
}

// The only seeding in the game; the soldiers draw from gameRand() from then on.
void ResourceCatalogue::seedRandom() {
    seedGameRand(static_cast<unsigned int>(std::time(nullptr)));
}

// A failed load has already said so on standard output and leaves an empty record that draws
// untextured, so start-up goes on regardless.
void ResourceCatalogue::loadTextures() {
    for (const TextureEntry& entry : kTextureTable) {
        textures[entry.slot] = std::make_unique<oglTexture2D>();
        if (!loadPicture(*textures[entry.slot], entry.file, entry.width, entry.height) &&
            hasImageLoader()) {
            missingPictures.push_back(entry.file);
        }
    }
}

void ResourceCatalogue::loadFonts() {
    for (const FontEntry& entry : kFontTable) {
        fonts[entry.record].load(entry.size, entry.file);
    }
}
