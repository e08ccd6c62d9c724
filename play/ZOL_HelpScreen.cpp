#include "play/ZOL_HelpScreen.h"

#include "app/GlutValues.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Sprite.h"
#include "gfx/TextureSlots.h"

namespace {
// Centred on the 1024 x 768 screen.
constexpr int kWidth = 800;
constexpr int kHeight = 446;
constexpr int kX = 112;
constexpr int kY = 161;
}  // namespace

bool ZOL_HelpScreen::draw() {
    drawSprite(ResourceCatalogue::instance()->texture(slot::HelpScreen), kWidth, kHeight, kX, kY);
    return true;
}

// Any left press closes the screen; the release after it finds the battle still paused.
void ZOL_HelpScreen::mouseButton(int button, int state, int, int) {
    if (button == mouse::kLeft && state == mouse::kPress) {
        setStatus(StateStatus::Finished);
    }
}
