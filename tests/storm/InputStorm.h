#pragma once

#include <cstddef>
#include <random>
#include <vector>

#include "gfx/Sprite.h"

class GameStateManager;
class ZOL_MainState;
struct World;

// What a storm did, to show that it reached the commands.
struct StormCounts {
    int events = 0;  // calls of the manager's mouse and key handlers
    int frames = 0;
    int helpScreensOpened = 0;
    std::size_t largestSelection = 0;
    int dead = 0;
};

// Random mouse and key events through a state manager that holds the battle, with a frame
// (clock step, update, recorded draw) after some of them. After every frame the battle must
// keep the soak's rules that a player cannot legitimately break and the play state its own;
// a broken one is a test failure.
class InputStorm {
public:
    InputStorm(GameStateManager& manager, unsigned seed);

    void send(int events);
    const StormCounts& counts() const { return counts_; }
    // Drawing goes to this record instead of OpenGL while the storm runs.
    std::vector<SpriteCall>& recorder() { return recorded_; }

    // The modifier keys of the storm's current event, for ZOL_MainState::setModifierReader.
    static int readModifiers();

private:
    int between(int low, int high);
    bool chance(int percent);
    int coordinate(int screenSide);
    int x();
    int y();
    int key();
    void motion(int px, int py);
    void button(int which, int state, int px, int py);
    void press(int code, int px, int py);
    void sendOne();
    void sendButton();
    void holdKey();
    void clickHelpButton();
    void selectWholeScreen();
    void hugeDrag();
    void frame();
    void checkAfterFrame();
    void checkPlayState(const ZOL_MainState& play, const World& world);

    GameStateManager& manager_;
    std::mt19937 random_;
    StormCounts counts_;
    std::vector<SpriteCall> recorded_;
};
