#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ai/Entity.h"
#include "app/GameStateManager.h"
#include "app/GlutValues.h"
#include "base/GameClock.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Sprite.h"
#include "play/ZOL_MainState.h"
#include "support/TestWorld.h"
#include "world/Order.h"
#include "world/World.h"

inline int heldModifiers = 0;
inline int readHeldModifiers() {
    return heldModifiers;
}

// Runs `action` in a scratch folder that holds the given map1.txt (or none), as the game runs
// in its assets folder.
template <class Action>
void inFolderWithMap(const std::string* mapText, Action action) {
    const std::filesystem::path home = std::filesystem::current_path();
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("dromlin-play-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch);
    std::filesystem::remove(scratch / "map1.txt");
    if (mapText != nullptr) {
        std::ofstream(scratch / "map1.txt") << *mapText;
    }
    std::filesystem::current_path(scratch);
    action();
    std::filesystem::current_path(home);
    std::filesystem::remove_all(scratch);
}

inline std::unique_ptr<ZOL_MainState> makePlayState(GameStateManager& manager,
                                                    const std::string* mapText) {
    std::unique_ptr<ZOL_MainState> play;
    inFolderWithMap(mapText, [&] { play = std::make_unique<ZOL_MainState>(0, &manager); });
    return play;
}

// A play state over a World written as rows of map characters, at zoom 1 with the grid's
// top-left corner at the screen's, so tile (x, y) covers pixels 128x .. 128x + 127.
class PlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        setSimulatedClock(0);
        heldModifiers = 0;
        ZOL_MainState::setModifierReader(readHeldModifiers);
        const std::string map = "2 2 ....";
        play = makePlayState(manager, &map);
    }

    void TearDown() override {
        setSpriteRecorder(nullptr);
        ZOL_MainState::setModifierReader(nullptr);
    }

    World& useWorld(std::initializer_list<std::string_view> rows) {
        play->world = makeWorld(rows);
        play->world->zoom = 1.0;
        play->world->viewOffsetX = 0;
        play->world->viewOffsetY = 0;
        play->world->commandedTeams = commandedTeamsInView(ResourceCatalogue::instance()->viewMode);
        play->world->computeFogs();  // as after loading a map
        return *play->world;
    }

    Entity& soldier(std::size_t index) { return *play->world->entities.at(index); }

    // As the view key does, without its other effects: the view, and the team that waits.
    void setViewMode(int viewMode) {
        ResourceCatalogue::instance()->viewMode = viewMode;
        play->world->commandedTeams = commandedTeamsInView(viewMode);
    }

    // Pixel at the centre of a tile, at zoom 1 with no offset.
    static int centre(int tile) { return tile * 128 + 64; }

    void press(int button, int x, int y, int modifiers = 0) {
        heldModifiers = modifiers;
        play->mouseMotion(x, y);
        play->mouseButton(button, mouse::kPress, x, y);
    }
    void release(int button, int x, int y, int modifiers = 0) {
        heldModifiers = modifiers;
        play->mouseMotion(x, y);
        play->mouseButton(button, mouse::kRelease, x, y);
    }
    void drag(int fromX, int fromY, int toX, int toY, int modifiers = 0) {
        press(mouse::kLeft, fromX, fromY, modifiers);
        release(mouse::kLeft, toX, toY, modifiers);
    }
    void dragTiles(int fromColumn, int fromRow, int toColumn, int toRow, int modifiers = 0) {
        drag(centre(fromColumn), centre(fromRow), centre(toColumn), centre(toRow), modifiers);
    }
    void rightClickTile(int column, int row, int modifiers = 0) {
        press(mouse::kRight, centre(column), centre(row), modifiers);
        release(mouse::kRight, centre(column), centre(row), modifiers);
    }
    void key(int code) { play->keyboard(code, 0, 0); }

    GameStateManager manager;
    std::unique_ptr<ZOL_MainState> play;
};
