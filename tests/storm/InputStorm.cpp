#include "InputStorm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Invariants.h"
#include "ai/Entity.h"
#include "app/GameStateManager.h"
#include "app/GlutValues.h"
#include "base/GameClock.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Screen.h"
#include "gfx/Sprite.h"
#include "play/HelpButton.h"
#include "play/ZOL_MainState.h"
#include "world/World.h"

namespace {

constexpr int kStepMs = 16;
// The middle of the help button.
constexpr int kHelpButtonX = helpButton::kX + helpButton::kWidth / 2;
constexpr int kHelpButtonY = helpButton::kY + helpButton::kHeight / 2;
// Keys with an effect come up far more often than the rest, so the orders really happen.
constexpr char kCommandKeys[] = "+=-_wasdrR`iepggggh";

int stormModifiers = 0;

}  // namespace

InputStorm::InputStorm(GameStateManager& manager, unsigned seed)
    : manager_(manager), random_(seed) {}

int InputStorm::readModifiers() {
    return stormModifiers;
}

void InputStorm::send(int events) {
    while (counts_.events < events && !::testing::Test::HasFatalFailure()) {
        sendOne();
        if (chance(30)) {
            frame();
        }
    }
}

int InputStorm::between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
}
bool InputStorm::chance(int percent) {
    return between(0, 99) < percent;
}

// On the screen mostly; sometimes beyond it, as a drag out of the window reports; now and
// then at the ends of the int range.
int InputStorm::coordinate(int screenSide) {
    const int kind = between(0, 99);
    if (kind < 65) {
        return between(0, screenSide - 1);
    }
    if (kind < 95) {
        return between(-5000, 5000);
    }
    const int extremes[] = {INT_MIN, INT_MIN + 1, -1000000000, 1000000000, INT_MAX - 1, INT_MAX};
    return extremes[between(0, 5)];
}
int InputStorm::x() {
    return coordinate(screen::kWidth);
}
int InputStorm::y() {
    return coordinate(screen::kHeight);
}

void InputStorm::motion(int px, int py) {
    counts_.events += 1;
    manager_.mouseMotion(px, py);
}
void InputStorm::button(int which, int state, int px, int py) {
    counts_.events += 1;
    manager_.mouseButton(which, state, px, py);
}
void InputStorm::press(int code, int px, int py) {
    counts_.events += 1;
    manager_.keyboard(code, px, py);
}

void InputStorm::sendOne() {
    const int kind = between(0, 99);
    stormModifiers = between(0, 7);
    if (kind < 30) {
        motion(x(), y());
    } else if (kind < 62) {
        sendButton();
    } else if (kind < 91) {
        press(key(), x(), y());
    } else if (kind < 94) {
        holdKey();
    } else if (kind < 95) {
        clickHelpButton();
    } else if (kind < 98) {
        selectWholeScreen();
    } else {
        hugeDrag();
    }
}

void InputStorm::sendButton() {
    const int which = chance(90) ? between(0, 2) : between(-1, 7);
    const int state = chance(95) ? between(mouse::kPress, mouse::kRelease) : between(-1, 3);
    button(which, state, x(), y());
}

int InputStorm::key() {
    if (chance(60)) {
        return static_cast<unsigned char>(kCommandKeys[between(0, sizeof kCommandKeys - 2)]);
    }
    return chance(98) ? between(0, 255) : between(-300, 600);
}

// A held key repeats.
void InputStorm::holdKey() {
    const int held = key();
    for (int repeats = between(5, 40); repeats > 0; --repeats) {
        press(held, x(), y());
    }
}

void InputStorm::clickHelpButton() {
    const bool opens = manager_.liveStates().size() == 1 &&
                       manager_.liveStates().front()->getStatus() == StateStatus::Running;
    stormModifiers = 0;
    motion(kHelpButtonX, kHelpButtonY);
    button(mouse::kLeft, mouse::kPress, kHelpButtonX, kHelpButtonY);
    button(mouse::kLeft, mouse::kRelease, kHelpButtonX, kHelpButtonY);
    counts_.helpScreensOpened += opens && !manager_.queuedStates().empty();
}

// A box over everything on the screen, so that orders and the damage key find soldiers.
void InputStorm::selectWholeScreen() {
    motion(0, 0);
    button(mouse::kLeft, mouse::kPress, 0, 0);
    motion(screen::kWidth - 1, screen::kHeight - 1);
    button(mouse::kLeft, mouse::kRelease, screen::kWidth - 1, screen::kHeight - 1);
}

void InputStorm::hugeDrag() {
    motion(x(), y());
    button(mouse::kLeft, mouse::kPress, x(), y());
    motion(x(), y());
    if (chance(50)) {
        frame();
    }
    button(mouse::kLeft, mouse::kRelease, x(), y());
}

void InputStorm::frame() {
    counts_.frames += 1;
    setSimulatedClock(counts_.frames * kStepMs);
    manager_.update();
    recorded_.clear();
    manager_.draw();
    checkAfterFrame();
}

void InputStorm::checkAfterFrame() {
    const auto& live = manager_.liveStates();
    ASSERT_FALSE(live.empty());
    ASSERT_LE(live.size(), 2u) << "more than one help screen is open";
    ASSERT_LE(manager_.queuedStates().size(), 1u);
    const auto* play = dynamic_cast<const ZOL_MainState*>(live.front().get());
    ASSERT_NE(play, nullptr) << "the battle is no longer the bottom state";
    const World& world = *play->world;
    for (const std::string& line : brokenInvariants(world)) {
        ADD_FAILURE() << "frame " << counts_.frames << ": " << line;
    }
    checkPlayState(*play, world);
    counts_.largestSelection = std::max(counts_.largestSelection, play->selection.size());
    counts_.dead =
        static_cast<int>(std::count_if(world.roster.begin(), world.roster.end(), [](const auto& e) {
            return e->state == EntityState::Dead;
        }));
    ASSERT_FALSE(::testing::Test::HasFailure()) << "stopped at frame " << counts_.frames;
}

void InputStorm::checkPlayState(const ZOL_MainState& play, const World& world) {
    std::set<const Entity*> roster;
    for (const auto& e : world.roster) {
        roster.insert(e.get());
    }
    const std::set<const Entity*> selected(play.selection.begin(), play.selection.end());
    EXPECT_EQ(selected.size(), play.selection.size()) << "a soldier is selected twice";
    for (const Entity* e : selected) {
        EXPECT_EQ(roster.count(e), 1u) << "the selection holds something not a soldier";
    }
    const int view = ResourceCatalogue::instance()->viewMode;
    EXPECT_TRUE(view >= ViewMode::Red && view <= ViewMode::All) << view;
    EXPECT_GE(world.zoom, 0.175);
    EXPECT_LE(world.zoom, 1.0);
    EXPECT_TRUE(world.cameraX >= 0 && world.cameraX <= world.columns) << world.cameraX;
    EXPECT_TRUE(world.cameraY >= 0 && world.cameraY <= world.rows) << world.cameraY;
    for (const SpriteCall& call : recorded_) {
        EXPECT_TRUE(call.intensity >= 0.0 && call.intensity <= 1.0) << call.intensity;
    }
}
