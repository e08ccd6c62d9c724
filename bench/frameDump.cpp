// Draws a set of battle scenes and prints one line per scene with a fingerprint of the pixels
// on the screen. Built twice: dromlin-frames and dromlin-frames-literal; the two must print
// the same lines, as the faster drawing must put exactly the same pixels on the screen.
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "Fields.h"
#include "PlayScene.h"
#include "app/GameStateManager.h"
#include "gfx/ResourceCatalogue.h"
#include "play/ZOL_MainState.h"
#include "world/World.h"

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

struct Scene {
    const char* name;
    const Field* field;
    int frames;
    double zoom;
    int viewMode;
    double cameraX;  // negative: leave the camera where the map put it
    double cameraY;
};

constexpr Scene kScenes[] = {
    {"map1 red zoom 0.2", &kShippedMap, 250, 0.2, ViewMode::Red, -1, -1},
    {"map1 blue zoom 0.2", &kShippedMap, 250, 0.2, ViewMode::Blue, -1, -1},
    {"map1 all zoom 0.2", &kShippedMap, 250, 0.2, ViewMode::All, -1, -1},
    {"map1 red zoom 1.0", &kShippedMap, 250, 1.0, ViewMode::Red, -1, -1},
    {"map1 red zoom 0.6 corner", &kShippedMap, 200, 0.6, ViewMode::Red, 0.0, 0.0},
    {"map1 all zoom 1.0 far corner", &kShippedMap, 200, 1.0, ViewMode::All, 40.0, 25.0},
    {"battle128 red zoom 0.175", &kBattle128, 80, 0.175, ViewMode::Red, -1, -1},
    {"battle128 blue zoom 0.45 edge", &kBattle128, 80, 0.45, ViewMode::Blue, 127.5, 3.0},
};

// FNV-1a over every byte of the back buffer.
uint64_t fingerprintOfScreen() {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kScreenWidth, kScreenHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char byte : pixels) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

uint64_t drawScene(const Scene& scene) {
    GameStateManager manager;
    const std::unique_ptr<ZOL_MainState> play =
        battleUnderWay(manager, *scene.field, scene.frames, scene.zoom, scene.viewMode);
    if (scene.cameraX >= 0) {
        play->world->cameraX = scene.cameraX;
        play->world->cameraY = scene.cameraY;
        play->update();
    }
    // Not swapped: the back buffer is read.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    play->draw();
    glFinish();
    return fingerprintOfScreen();
}

}  // namespace

int main(int argc, char** argv) {
    if (!openGameWindow(argc, argv)) {
        return 1;
    }
    for (const Scene& scene : kScenes) {
        std::printf("%s: %016llx\n", scene.name, static_cast<unsigned long long>(drawScene(scene)));
    }
    return 0;
}
