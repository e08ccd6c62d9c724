#include "play/ZOL_HelpScreen.h"

#include "app/GlutValues.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Screen.h"
#include "gfx/Sprite.h"
#include "gfx/TextureSlots.h"

namespace {
// Centred on the screen.
constexpr int kWidth = 800;
constexpr int kHeight = 446;
constexpr int kX = (screen::kWidth - kWidth) / 2;
constexpr int kY = (screen::kHeight - kHeight) / 2;
}  // namespace

bool ZOL_HelpScreen::draw() {
    drawSprite(cataloguePicture(slot::kHelpScreen), kWidth, kHeight, kX, kY);
    return true;
}

// Any left press closes the screen; the release after it finds the battle still paused.
void ZOL_HelpScreen::mouseButton(int button, int state, int, int) {
    if (button == mouse::kLeft && state == mouse::kPress) {
        setStatus(StateStatus::Finished);
    }
}

// A player who opened the picture by mistake reaches for Esc first; every other key stays
// ignored, so the battle underneath gets none of them.
void ZOL_HelpScreen::keyboard(int key, int, int) {
    if (key == keys::kEscape) {
        setStatus(StateStatus::Finished);
    }
}
