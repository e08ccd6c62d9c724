// One drawn frame of the play state: clear, the whole scene (the fog is computed in the step,
// not here), swap, and wait until the GL has really drawn it; shown in the red team's view, fog
// and all. Drawn alone (drawnFrame) and as the game's loop draws it (loopFrame). Needs an X
// display: run under xvfb-run, through bench/run.sh. Built twice, like the simulation benchmarks:
// dromlin-bench-draw and dromlin-bench-draw-plain.
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>

#include <memory>

#include "Cases.h"
#include "Fields.h"
#include "PlayScene.h"
#include "app/GameStateManager.h"
#include "app/RenderState.h"
#include "app/ShownFrame.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Sprite.h"
#include "gfx/TextureSlots.h"
#include "play/ZOL_MainState.h"

namespace {

// Frames of battle before the drawing is measured: soldiers on the move, bullets in flight.
// Fewer on the large map, where the plain build takes a second per frame.
int battleFramesOn(const Field& field) {
    return field.columns > 128 ? 30 : 300;
}

void drawnFrame(benchmark::State& state, const Field& field, double zoom) {
    GameStateManager manager;
    const std::unique_ptr<ZOL_MainState> play =
        battleUnderWay(manager, field, battleFramesOn(field), zoom, ViewMode::Red);
    for (auto _ : state) {
        drawWholeFrame(*play);
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// What the game does for each frame to learn whether its picture changed: the scene recorded
// without GL and compared with the picture on the screen. Here it is the very same picture, the
// dearest case, in which the whole of both lists is compared; a moving frame stops comparing
// at the first sprite that moved.
void judgedFrame(benchmark::State& state, const Field& field, double zoom) {
    GameStateManager manager;
    const std::unique_ptr<ZOL_MainState> play =
        battleUnderWay(manager, field, battleFramesOn(field), zoom, ViewMode::Red);
    ShownFrame shown;
    shown.needsDrawing([&] { play->draw(); });
    for (auto _ : state) {
        benchmark::DoNotOptimize(shown.needsDrawing([&] { play->draw(); }));
    }
}

// One frame as the game's loop draws it (dromlin1App::drawIfChanged): recorded without GL,
// compared with the picture on the screen and drawn from the record. Here the frame is the
// picture on the screen, so both records are compared whole, the dearest comparison, and it is
// drawn all the same, as a frame that differed would be: against drawnFrame, the drawing
// alone, this is what judging a frame costs a frame that is drawn.
void loopFrame(benchmark::State& state, const Field& field, double zoom) {
    GameStateManager manager;
    const std::unique_ptr<ZOL_MainState> play =
        battleUnderWay(manager, field, battleFramesOn(field), zoom, ViewMode::Red);
    ShownFrame shown;
    shown.needsDrawing([&] { play->draw(); }, clearedScreenIsBlack());
    for (auto _ : state) {
        benchmark::DoNotOptimize(shown.needsDrawing([&] { play->draw(); }, clearedScreenIsBlack()));
        clearFrame();
        shown.draw();
        glutSwapBuffers();
        glFinish();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The fill limit: one screen of textured quads (32 x 24 floor tiles of 32 pixels, opaque),
// cleared, swapped and finished like a frame.
void oneScreenOfTexturedQuads(benchmark::State& state) {
    const oglTexture2D* tile = cataloguePicture(slot::kBaseTile);
    for (auto _ : state) {
        clearFrame();
        for (int x = 0; x < 32; ++x) {
            for (int y = 0; y < 24; ++y) {
                drawSprite(tile, 32, 32, x * 32, y * 32);
            }
        }
        glutSwapBuffers();
        glFinish();
    }
}

struct ViewCase {
    const char* name;
    Field field;
    double zoom;
    Runs runs;
};

// Fixed iteration counts, as the set-up is a battle of its own.
constexpr ViewCase kDrawnFrames[] = {
    {"map1_zoom0_2", kShippedMap, 0.2, {.iterations = 100, .repetitions = 3}},
    {"map1_zoom1_0", kShippedMap, 1.0, {.iterations = 100, .repetitions = 3}},
    {"battle256_zoom0_2", kBattle256, 0.2, {.iterations = 60}},
    {"battle256_zoom1_0", kBattle256, 1.0, {.iterations = 60}},
};

constexpr ViewCase kJudgedFrames[] = {
    {"map1_zoom0_2", kShippedMap, 0.2, {.repetitions = 3}},
    {"map1_zoom1_0", kShippedMap, 1.0, {.repetitions = 3}},
    {"battle256_zoom0_2", kBattle256, 0.2, {}},
};

constexpr ViewCase kLoopFrames[] = {
    {"map1_zoom0_2", kShippedMap, 0.2, {.iterations = 100, .repetitions = 3}},
    {"battle256_zoom0_2", kBattle256, 0.2, {.iterations = 60}},
    {"battle256_zoom1_0", kBattle256, 1.0, {.iterations = 60}},
};

void registerCases() {
    for (const ViewCase& c : kDrawnFrames) {
        registerCase("drawnFrame", c.name, c.runs, benchmark::kMillisecond, drawnFrame, c.field,
                     c.zoom);
    }
    for (const ViewCase& c : kLoopFrames) {
        registerCase("loopFrame", c.name, c.runs, benchmark::kMillisecond, loopFrame, c.field,
                     c.zoom);
    }
    for (const ViewCase& c : kJudgedFrames) {
        registerCase("judgedFrame", c.name, c.runs, benchmark::kMillisecond, judgedFrame, c.field,
                     c.zoom);
    }
}

}  // namespace

BENCHMARK(oneScreenOfTexturedQuads)->Iterations(100)->Repetitions(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (!openGameWindow(argc, argv)) {
        return 1;
    }
    registerCases();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
