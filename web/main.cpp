#include <GL/freeglut.h>
#include <emscripten.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/RenderState.h"
#include "app/dromlin1App.h"
#include "gfx/ImageLoader.h"
#include "gfx/Screen.h"
#include "gfx/Texture.h"
#include "play/ZOL_MainState.h"
#include "web/VersusPage.h"

// The game as a web page. The browser forbids sleeping, so instead of GLUT's idle callback
// the browser's animation frames drive the same fixed-step loop as the desktop's; a frame
// with no step due, or whose picture is the one shown, draws nothing and the page keeps
// showing the last picture.
//
// versus.html starts the same game with the arguments "--versus HOST:PORT CODE" (the page's
// own host, and the code after its #, if any): one build, one download for both pages.

namespace {

constexpr const char* kTitle = "Dromlin_01";
// The largest canvas side the page may ask for; anything beyond is a broken request.
constexpr int kLargestCanvasSide = 16384;

dromlin1App* game = nullptr;
int framesStepped = 0;
std::unique_ptr<VersusPage> versus;
// The line on the page and whether the battle had started, as last shown; none at first.
std::optional<std::pair<std::string, bool>> versusShown;

// The page around the game shows the versus lines; the battle's canvas only once it started.
EM_JS(void, showVersusLine, (const char* line, const char* link, int started), {
    if (Module.showVersusLine) {
        Module.showVersusLine(UTF8ToString(line), UTF8ToString(link), !!started);
    }
});

ZOL_MainState* findMainState(const GameStateManager& manager) {
    for (const auto* states : {&manager.liveStates(), &manager.queuedStates()}) {
        for (const auto& state : *states) {
            if (auto* play = dynamic_cast<ZOL_MainState*>(state.get())) {
                return play;
            }
        }
    }
    return nullptr;
}

bool loadFromFile(oglTexture2D& texture, const std::string& path, int width, int height) {
    return texture.loadImage(path, width, height);
}

void showVersus(double nowMs) {
    std::pair<std::string, bool> shown(versus->line(nowMs), versus->started());
    if (shown != versusShown) {
        showVersusLine(shown.first.c_str(), versus->link().c_str(), shown.second);
        versusShown = std::move(shown);
    }
}

void animationFrame() {
    if (versus) {
        versus->beforeSteps(emscripten_get_now());
    }
    if (game->stepAndDraw() > 0) {
        ++framesStepped;
    }
    if (versus) {
        const double now = emscripten_get_now();
        versus->afterSteps(now);
        showVersus(now);
    }
}

void startVersus(int argc, char** argv) {
    ZOL_MainState* play = findMainState(game->stateManager);
    if (argc < 3 || play == nullptr) {
        return;
    }
    versus = std::make_unique<VersusPage>(*play, argv[2], argc > 3 ? argv[3] : "");
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

// Versus: the steps the battle took, and the state line of one step kept for a test that
// compares the page's battle with the other player's at that step (a turn's last).
EMSCRIPTEN_KEEPALIVE double dromlin_versus_steps() {
    return versus ? static_cast<double>(versus->steps()) : 0.0;
}

EMSCRIPTEN_KEEPALIVE void dromlin_versus_keep(double step) {
    if (versus && step >= 1 && step <= 1e15) {
        versus->keepStateLineAt(static_cast<int64_t>(step));
    }
}

EMSCRIPTEN_KEEPALIVE const char* dromlin_versus_kept() {
    return versus ? versus->keptStateLine().c_str() : "";
}
}

int main(int argc, char** argv) {
    setImageLoader(loadFromFile);
    ZOL_MainState::setModifierReader(glutGetModifiers);

    game = new dromlin1App(argc, argv, kTitle, screen::kWidth, screen::kHeight);
    theApp = game;
    registerEventCallbacks();
    setFixedRenderState();
    if (argc > 1 && std::string(argv[1]) == "--versus") {
        startVersus(argc, argv);
    }
    // Registered before GLUT's main loop, which returns to the browser at once and never ends.
    emscripten_set_main_loop(animationFrame, 0, false);
    return game->run();
}
