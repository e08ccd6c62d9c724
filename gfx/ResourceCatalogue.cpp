#include "gfx/ResourceCatalogue.h"

#include <ctime>
#include <iterator>

#include "base/GameRandom.h"
#include "gfx/ImageLoader.h"
#include "gfx/TextureSlots.h"

namespace {

struct TextureEntry {
    int slot;
    const char* file;
    int width;
    int height;
};

// In load order, which is not slot order: the start-up messages follow this order. The slots
// the game draws are named in gfx/TextureSlots.h; the others are loaded and never used.
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
    {slot::kBaseTile, "baseTile.png", 128, 128},
    {slot::kObstacleTile, "obstacle.png", 128, 128},
    {slot::kNullTile, "nullTile.png", 128, 128},
    {19, "blackTile.png", 128, 128},
    {20, "entityArrow.png", 128, 128},
    {slot::kEntityBlue, "entityBlue.png", 128, 128},
    {22, "entityBlueN.png", 128, 128},
    {slot::kEntityRed, "entityRed.png", 128, 128},
    {24, "entityRedN.png", 128, 128},
    {slot::kEntitySelected, "entitySelected.png", 128, 128},
    {slot::kEntityTarget, "entityTarget.png", 128, 128},
    {slot::kSelectionLine, "greenPixel.png", 1, 1},
    {slot::kRedPath, "zolRedPath.png", 128, 128},
    {slot::kBluePath, "zolBluePath.png", 128, 128},
    {slot::kEntityTargetEntity, "entityTargetEntity.png", 128, 128},
    {slot::kRedBanner, "zolRedActive.png", 1024, 64},
    {slot::kBlueBanner, "zolBlueActive.png", 1024, 64},
    {slot::kAllBanner, "zolGodActive.png", 1024, 64},
    {slot::kFog, "zolFog.png", 128, 128},
    {slot::kHealthBack, "redPixel.png", 1, 1},
    {slot::kHealthFill, "greenPixel.png", 1, 1},
    {37, "yellowPixel.png", 1, 1},
    {slot::kEntityDead, "zolEntityDead.png", 128, 128},
    {slot::kHealthBorder, "zolHealthBorder.png", 128, 128},
    {slot::kBulletOrange, "zolBulletOrange.png", 16, 16},
    {slot::kBulletYellow, "zolBulletYellow.png", 16, 16},
    {slot::kBulletShotgun, "zolBulletShotgun.png", 8, 8},
    {slot::kHelpScreen, "zolHelpScreen.png", 800, 446},
    {slot::kHelpButton, "helpButton.png", 150, 100},
};

// Each slot filled exactly once: a slot named twice would lose its first texture and leave
// another slot empty, which draws untextured without a word.
constexpr bool fillsEachSlotOnce() {
    int seen[ResourceCatalogue::kTextureCount] = {};
    for (const TextureEntry& entry : kTextureTable) {
        if (entry.slot < 0 || entry.slot >= ResourceCatalogue::kTextureCount ||
            seen[entry.slot]++ != 0) {
            return false;
        }
    }
    return true;
}
static_assert(std::size(kTextureTable) == ResourceCatalogue::kTextureCount);
static_assert(fillsEachSlotOnce());

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

ResourceCatalogue::TextureSource ResourceCatalogue::textureSource(int slot) {
    for (const TextureEntry& entry : kTextureTable) {
        if (entry.slot == slot) {
            return {entry.file, entry.width, entry.height};
        }
    }
    return {};
}

// The only seeding in the game; the soldiers draw from gameRand() from then on. A tool that
// fixed its battle's seed keeps it.
void ResourceCatalogue::seedRandom() {
    seedGameRandUnlessFixed(static_cast<unsigned int>(std::time(nullptr)));
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
