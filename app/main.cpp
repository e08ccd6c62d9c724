#include <GL/freeglut.h>

#include <string>

#include "app/GameFolder.h"
#include "app/RenderState.h"
#include "app/dromlin1App.h"
#include "gfx/ImageLoader.h"
#include "gfx/Screen.h"
#include "gfx/Texture.h"
#include "play/ZOL_MainState.h"

namespace {

constexpr const char* kTitle = "Dromlin_01";

bool loadFromFile(oglTexture2D& texture, const std::string& path, int width, int height) {
    return texture.loadImage(path, width, height);
}

}  // namespace

int main(int argc, char** argv) {
    // Every file is named relative to the game's folder, so it is found before anything loads.
    enterGameFolder();
    // Both must be in place before the application creates the catalogue and the battle.
    setImageLoader(loadFromFile);
    ZOL_MainState::setModifierReader(glutGetModifiers);

    theApp = new dromlin1App(argc, argv, kTitle, screen::kWidth, screen::kHeight);
    registerCallbacks();
    setFixedRenderState();
    return theApp->run();
}
