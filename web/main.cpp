#include <GL/freeglut.h>
#include <emscripten.h>

#include <string>

#include "app/RenderState.h"
#include "app/dromlin1App.h"
#include "gfx/ImageLoader.h"
#include "gfx/Screen.h"
#include "gfx/Texture.h"
#include "play/ZOL_MainState.h"

// The game as a web page. The browser forbids sleeping, so instead of GLUT's idle callback
// the browser's animation frames drive the same fixed-step loop as the desktop's; a frame
// with no step due, or whose picture is the one shown, draws nothing and the page keeps
// showing the last picture.

namespace {

constexpr const char* kTitle = "Dromlin_01";
// The largest canvas side the page may ask for; anything beyond is a broken request.
constexpr int kLargestCanvasSide = 16384;

dromlin1App* game = nullptr;
int framesStepped = 0;

bool loadFromFile(oglTexture2D& texture, const std::string& path, int width, int height) {
    return texture.loadImage(path, width, height);
}

void animationFrame() {
    if (game->stepAndDraw() > 0) {
        ++framesStepped;
    }
}

}  // namespace

// The page's hooks and the tests' queries, called from JavaScript.
extern "C" {

// The canvas now has this many pixels; the picture is letterboxed into it.
EMSCRIPTEN_KEEPALIVE void dromlin_resize(int width, int height) {
    if (game == nullptr || width < 1 || height < 1 || width > kLargestCanvasSide ||
        height > kLargestCanvasSide) {
        return;
    }
    glutReshapeWindow(width, height);
}

// A key GLUT's key table does not know, as the desktop's GLUT would give it: the pointer's
// position does not matter to any key.
EMSCRIPTEN_KEEPALIVE void dromlin_key(int key) {
    if (game != nullptr && key > 0 && key < 128) {
        game->keyboard(key, 0, 0);
    }
}

// Steps of the battle itself, which stand still while it is paused under the help picture.
EMSCRIPTEN_KEEPALIVE double dromlin_steps() {
    return game == nullptr ? 0.0 : static_cast<double>(game->battleSteps());
}

// Animation frames that ran at least one step (and drew the picture if it changed).
EMSCRIPTEN_KEEPALIVE int dromlin_frames() {
    return framesStepped;
}
}

int main(int argc, char** argv) {
    setImageLoader(loadFromFile);
    ZOL_MainState::setModifierReader(glutGetModifiers);

    game = new dromlin1App(argc, argv, kTitle, screen::kWidth, screen::kHeight);
    theApp = game;
    registerEventCallbacks();
    setFixedRenderState();
    // Registered before GLUT's main loop, which returns to the browser at once and never ends.
    emscripten_set_main_loop(animationFrame, 0, false);
    return game->run();
}
