// Draws a set of battle scenes and prints one line per scene with a fingerprint of the pixels
// on the screen. Built twice: dromlin-frames and dromlin-frames-plain; the two must print
// the same lines, as the faster drawing must put exactly the same pixels on the screen.
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Fields.h"
#include "PlayScene.h"
#include "ai/Entity.h"
#include "app/GameStateManager.h"
#include "app/RenderState.h"
#include "app/ShownFrame.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Screen.h"
#include "gfx/Sprite.h"
#include "play/ZOL_MainState.h"
#include "world/World.h"

namespace {

// What a scene changes after its battle, just before the frame is drawn, to put in front of
// the camera each thing the faster drawing leaves out or draws in one batch.
enum class Tweak {
    None,
    DiscoverAll,        // the viewed team has discovered every tile (a late battle)
    WallToggledUnseen,  // tiles changed where the viewed team no longer sees: memory differs
    FullFog,            // nothing discovered, nothing seen: everything under opaque fog
    HalfFog,            // everything discovered, nothing seen: all under fog at one half
    PatchyFog,          // fog cells of 0, 1/4, 1/2 and 1 mixed, a third of the tiles unknown
};

struct Scene {
    const char* name;
    const Field* field;
    int frames;
    double zoom;
    int viewMode;
    double cameraX;  // negative: leave the camera where the map put it
    double cameraY;
    Tweak tweak = Tweak::None;
    bool selectViewedTeam = false;  // select the viewed team's living soldiers (their markers)
    bool cameraOnSoldier = false;   // centre the camera on the viewed team's first soldier
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
    // Each cut of the faster drawing in front of the camera.
    {"map1 red early zoom 0.2", &kShippedMap, 3, 0.2, ViewMode::Red, -1, -1},
    {"map1 blue early zoom 0.175", &kShippedMap, 3, 0.175, ViewMode::Blue, -1, -1},
    {"map1 red late, all discovered, zoom 0.2", &kShippedMap, 150, 0.2, ViewMode::Red, -1, -1,
     Tweak::DiscoverAll, true},
    {"map1 red walls toggled unseen zoom 0.2", &kShippedMap, 150, 0.2, ViewMode::Red, -1, -1,
     Tweak::WallToggledUnseen},
    {"map1 red walls toggled unseen zoom 1.0", &kShippedMap, 150, 1.0, ViewMode::Red, -1, -1,
     Tweak::WallToggledUnseen, false, true},
    {"map1 red full fog, selected, zoom 0.2", &kShippedMap, 150, 0.2, ViewMode::Red, -1, -1,
     Tweak::FullFog, true},
    {"map1 red full fog zoom 1.0 on a soldier", &kShippedMap, 150, 1.0, ViewMode::Red, -1, -1,
     Tweak::FullFog, true, true},
    {"map1 red half fog, selected, zoom 0.2", &kShippedMap, 150, 0.2, ViewMode::Red, -1, -1,
     Tweak::HalfFog, true},
    {"map1 blue patchy fog, selected, zoom 0.2", &kShippedMap, 150, 0.2, ViewMode::Blue, -1, -1,
     Tweak::PatchyFog, true},
    {"map1 red patchy fog zoom 1.0 on a soldier", &kShippedMap, 150, 1.0, ViewMode::Red, -1, -1,
     Tweak::PatchyFog, true, true},
    {"map1 red zoom 1.0 camera half off the left edge", &kShippedMap, 150, 1.0, ViewMode::Red, 0.0,
     12.0},
    {"map1 blue zoom 0.2 camera half off the bottom right", &kShippedMap, 150, 0.2, ViewMode::Blue,
     40.0, 25.0},
    {"battle128 red patchy fog, selected, zoom 0.175", &kBattle128, 40, 0.175, ViewMode::Red, -1,
     -1, Tweak::PatchyFog, true},
};

bool viewsRed(const Scene& scene) {
    return scene.viewMode == ViewMode::Red;
}

// Walls become floor and floor becomes walls on every fourth tile the viewed team remembers
// but does not see now, so what it remembers differs from what is there.
void toggleUnseenWalls(World& world, const Grid<int32_t>& known, const Grid<double>& fog) {
    int remembered = 0;
    for (int x = 0; x < known.columns(); ++x) {
        for (int y = 0; y < known.rows(); ++y) {
            if (known[x][y] != 0 && fog[x * world.fogResolution][y * world.fogResolution] >= 1.0 &&
                remembered++ % 4 == 0) {
                world.toggleTile(x, y);
            }
        }
    }
}

void applyTweak(const Scene& scene, ZOL_MainState& play) {
    World& world = *play.world;
    Grid<int32_t>& known = viewsRed(scene) ? world.redKnownTiles : world.blueKnownTiles;
    Grid<double>& fog = viewsRed(scene) ? world.redFog : world.blueFog;
    const int r = world.fogResolution;
    for (int x = 0; x < known.columns(); ++x) {
        for (int y = 0; y < known.rows(); ++y) {
            switch (scene.tweak) {
                case Tweak::DiscoverAll:
                    known[x][y] = world.tiles[x][y];
                    break;
                case Tweak::FullFog:
                    known[x][y] = 0;
                    break;
                case Tweak::HalfFog:
                    known[x][y] = world.tiles[x][y];
                    break;
                case Tweak::PatchyFog:
                    if ((x + 2 * y) % 3 == 0) {
                        known[x][y] = 0;
                    }
                    break;
                default:
                    break;
            }
        }
    }
    constexpr double kPatches[] = {0.0, 1.0, 0.5, 1.0, 0.25, 1.0, 0.0};
    for (int i = 0; i < fog.columns(); ++i) {
        for (int k = 0; k < fog.rows(); ++k) {
            if (scene.tweak == Tweak::FullFog || scene.tweak == Tweak::HalfFog) {
                fog[i][k] = 1.0;
            } else if (scene.tweak == Tweak::PatchyFog) {
                fog[i][k] = kPatches[(i / r * 5 + k / r * 3) % 7];
            }
        }
    }
    if (scene.tweak == Tweak::WallToggledUnseen) {
        toggleUnseenWalls(world, known, fog);
    }
}

int viewedTeam(const Scene& scene) {
    return viewsRed(scene) ? Team::Red : Team::Blue;
}

// FNV-1a over every byte of the back buffer.
// With DROMLIN_FRAMES_DIR set, each scene's screen is also written there as scene-N.ppm
// (bottom row first), to look at what a scene shows.
void saveScreen(const std::vector<unsigned char>& pixels, int scene) {
    const char* folder = std::getenv("DROMLIN_FRAMES_DIR");
    if (folder == nullptr) {
        return;
    }
    const std::string path = std::string(folder) + "/scene-" + std::to_string(scene) + ".ppm";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return;
    }
    std::fprintf(file, "P6 %d %d 255\n", screen::kWidth, screen::kHeight);
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        std::fwrite(&pixels[i], 1, 3, file);
    }
    std::fclose(file);
}

uint64_t fingerprintOfScreen(int scene) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(screen::kWidth) * screen::kHeight *
                                      4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, screen::kWidth, screen::kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    saveScreen(pixels, scene);
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char byte : pixels) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

uint64_t drawScene(const Scene& scene, int number) {
    GameStateManager manager;
    const std::unique_ptr<ZOL_MainState> play =
        battleUnderWay(manager, *scene.field, scene.frames, scene.zoom, scene.viewMode);
    if (scene.cameraX >= 0) {
        play->world->cameraX = scene.cameraX;
        play->world->cameraY = scene.cameraY;
        play->update();
    }
    for (Entity* entity : play->world->entities) {
        if (entity->health > 0 && entity->team == viewedTeam(scene)) {
            if (scene.cameraOnSoldier) {
                play->world->cameraX = entity->x + 0.5;
                play->world->cameraY = entity->y + 0.5;
                play->update();
                break;
            }
        }
    }
    for (Entity* entity : play->world->entities) {
        if (scene.selectViewedTeam && entity->health > 0 && entity->team == viewedTeam(scene)) {
            play->selection.push_back(entity);
        }
    }
    applyTweak(scene, *play);
    // Not swapped: the back buffer is read.
    clearFrame();
    play->draw();
    glFinish();
    const uint64_t drawn = fingerprintOfScreen(number);
    // The game draws the frame from its record: that must put the very same pixels there.
    ShownFrame shown;
    shown.needsDrawing([&] { play->draw(); }, clearedScreenIsBlack());
    clearFrame();
    shown.draw();
    glFinish();
    if (fingerprintOfScreen(number) != drawn) {
        std::fprintf(stderr, "%s: the frame drawn from its record differs\n", scene.name);
        std::exit(1);
    }
    return drawn;
}

}  // namespace

int main(int argc, char** argv) {
    if (!openGameWindow(argc, argv)) {
        return 1;
    }
    int number = 0;
    for (const Scene& scene : kScenes) {
        const uint64_t fingerprint = drawScene(scene, number++);
        std::printf("%s: %016llx\n", scene.name, static_cast<unsigned long long>(fingerprint));
    }
    return 0;
}
