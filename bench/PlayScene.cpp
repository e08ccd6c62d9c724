#include "PlayScene.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/GameStateManager.h"
#include "app/RenderState.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "gfx/ImageLoader.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Screen.h"
#include "gfx/Texture.h"
#include "play/ZOL_MainState.h"
#include "world/Order.h"
#include "world/World.h"

namespace {

constexpr int kTickMs = 16;

bool loadFromFile(oglTexture2D& texture, const std::string& path, int width, int height) {
    return texture.loadImage(path, width, height);
}

}  // namespace

bool openGameWindow(int& argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "%s: no X display (run it under xvfb-run)\n", argv[0]);
        return false;
    }
    setImageLoader(loadFromFile);
    glutInitWindowSize(screen::kWidth, screen::kHeight);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(argv[0]);
    setFixedRenderState();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    // The pictures and map1.txt are read by relative path, as the game reads them.
    std::filesystem::current_path(DROMLIN_ASSETS_DIR);
    ResourceCatalogue::instance();
    return true;
}

std::unique_ptr<ZOL_MainState> battleUnderWay(GameStateManager& manager, const Field& field,
                                              int frames, double zoom, int viewMode) {
    setSimulatedClock(0);
    seedGameRand(1);
    auto play = std::make_unique<ZOL_MainState>(0, &manager);
    if (field.columns != 0) {
        play->world = std::make_unique<World>();
        play->world->loadMap(mapFileOf(field));
    }
    ResourceCatalogue::instance()->viewMode = ViewMode::All;
    play->world->commandedTeams = commandedTeamsInView(ViewMode::All);
    for (int frame = 1; frame <= frames; ++frame) {
        setSimulatedClock(frame * kTickMs);
        play->update();
        play->draw();
    }
    play->world->zoom = zoom;
    play->update();
    ResourceCatalogue::instance()->viewMode = viewMode;
    play->world->commandedTeams = commandedTeamsInView(viewMode);
    return play;
}

void drawWholeFrame(ZOL_MainState& play) {
    clearFrame();
    play.draw();
    glutSwapBuffers();
    glFinish();
}
