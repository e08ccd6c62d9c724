#include "app/dromlin1App.h"

#include <GL/freeglut.h>

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

#include "app/RenderState.h"
#include "app/StartupNotice.h"
#include "base/GameClock.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Sprite.h"
#include "play/ZOL_MainState.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

ZOL_MainState* findMainState(const std::vector<std::unique_ptr<GameState>>& states) {
    for (const auto& state : states) {
        if (auto* play = dynamic_cast<ZOL_MainState*>(state.get())) {
            return play;
        }
    }
    return nullptr;
}

StartupFailures startupFailures(const ZOL_MainState* play) {
    StartupFailures failures;
    failures.missingPictures = ResourceCatalogue::instance()->missingPictures;
    failures.pictureCount = ResourceCatalogue::kTextureCount;
    failures.mapLoaded = play != nullptr && play->mapLoaded;
    std::error_code error;
    failures.mapPresent = std::filesystem::exists(kGameFolderMark, error);
    return failures;
}

}  // namespace

dromlin1App::dromlin1App(int& argc, char** argv, const char* title, int width, int height)
    : oglApp(argc, argv, title, width, height),
      pace(steadyMicros()),
      letterbox(fitScreen(width, height)) {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    ResourceCatalogue::instance();
    ResourceCatalogue::instance();
    // The soldiers are built at game time 0, as the headless runner builds them.
    setSimulatedClock(0);
    stateManager.addMainState();
    notice = startupNoticeLines(startupFailures(playState()), gameFolderSearch());
}

int64_t dromlin1App::steadyMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               SteadyClock::now().time_since_epoch())
        .count();
}

ZOL_MainState* dromlin1App::playState() const {
    ZOL_MainState* play = findMainState(stateManager.liveStates());
    return play != nullptr ? play : findMainState(stateManager.queuedStates());
}

int64_t dromlin1App::battleSteps() const {
    const ZOL_MainState* play = playState();
    return play != nullptr ? play->battleSteps : 0;
}

int dromlin1App::runDueSteps() {
    const int64_t first = pace.stepsTaken();
    const int steps = pace.takeDueSteps(steadyMicros());
    for (int i = 0; i < steps; ++i) {
        FixedStepLoop::runStep(stateManager, first + i);
    }
    return steps;
}

void dromlin1App::update() {
    runDueSteps();
}

void dromlin1App::idle() {
    if (stepAndDraw() == 0) {
        std::this_thread::sleep_until(
            SteadyClock::time_point(std::chrono::microseconds(pace.nextStepAt())));
    }
}

int dromlin1App::stepAndDraw() {
    const int steps = runDueSteps();
    if (steps > 0) {
        drawIfChanged();
    }
    return steps;
}

void dromlin1App::display() {
    shownFrame.lose();
    drawIfChanged();
}

// A frame left out swaps nothing, so the window keeps showing the very picture it would have
// drawn. A frame drawn is drawn whole onto a cleared buffer, so it does not matter what the back
// buffer held after the frames left out.
void dromlin1App::drawIfChanged() {
    // Without its pictures or its map the battle would be a blank field: the window says
    // what went wrong instead, and that picture never changes.
    if (!notice.empty()) {
        if (shownFrame.needsDrawing([] {})) {
            clearFrame();
            drawStartupNotice(notice);
            glFlush();
            glutSwapBuffers();
        }
        return;
    }
    if (overlayChanged()) {
        shownFrame.lose();
    }
    if (!shownFrame.needsDrawing([this] { stateManager.draw(); }, clearedScreenIsBlack())) {
        return;
    }
    clearFrame();
    shownFrame.draw();
    drawOverlay();
    glFlush();
    glutSwapBuffers();
}

void dromlin1App::reshape(int width, int height) {
    // The picture goes elsewhere in the window, which may also have lost what it showed.
    shownFrame.lose();
    letterbox = fitScreen(width, height);
    // GL counts viewport rows from the bottom of the window.
    glViewport(letterbox.left, height - letterbox.top - letterbox.height, letterbox.width,
               letterbox.height);
}

void dromlin1App::mouseMotion(int x, int y) {
    stateManager.mouseMotion(windowToScreenX(letterbox, x), windowToScreenY(letterbox, y));
}

void dromlin1App::mouseButton(int button, int state, int x, int y) {
    stateManager.mouseButton(button, state, windowToScreenX(letterbox, x),
                             windowToScreenY(letterbox, y));
}

void dromlin1App::keyboard(int key, int x, int y) {
    stateManager.keyboard(key, windowToScreenX(letterbox, x), windowToScreenY(letterbox, y));
}
