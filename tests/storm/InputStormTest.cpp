// Random mouse and key events, fed through the state manager at random frames while the
// battle runs headless: nothing may crash or trip the sanitizers, and after every frame the
// battle keeps the soak's rules (those a player cannot legitimately break) and the play
// state its own. DROMLIN_STORM_EVENTS sets the number of events (default 6000).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "BattlePlan.h"
#include "Invariants.h"
#include "ai/Entity.h"
#include "app/GameStateManager.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Sprite.h"
#include "play/ZOL_MainState.h"
#include "world/GameClock.h"
#include "world/World.h"

namespace {

constexpr int kDefaultEvents = 6000;
constexpr int kStepMs = 16;
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kLeft = 0;
constexpr int kPress = 0;
constexpr int kRelease = 1;
constexpr int kHelpButtonX = 961;
constexpr int kHelpButtonY = 30;
// Keys with an effect come up far more often than the rest, so the orders really happen.
constexpr char kCommandKeys[] = "+=-_wasdrR`iepggggh";

int stormModifiers = 0;
int readStormModifiers() {
    return stormModifiers;
}

int eventCount() {
    const char* text = std::getenv("DROMLIN_STORM_EVENTS");
    const int count = text != nullptr ? std::atoi(text) : 0;
    return count > 0 ? count : kDefaultEvents;
}

struct StormCounts {
    int events = 0;  // calls of the manager's mouse and key handlers
    int frames = 0;
    int helpScreensOpened = 0;
    std::size_t largestSelection = 0;
    int kills = 0;
};

class InputStorm {
public:
    InputStorm(GameStateManager& manager, unsigned seed) : manager_(manager), random_(seed) {}

    void send(int events) {
        while (counts_.events < events && !::testing::Test::HasFatalFailure()) {
            sendOne();
            if (chance(30)) {
                frame();
            }
        }
    }

    const StormCounts& counts() const { return counts_; }

private:
    int between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool chance(int percent) { return between(0, 99) < percent; }

    // On the screen mostly; sometimes beyond it, as a drag out of the window reports; now and
    // then at the ends of the int range.
    int coordinate(int screenSide) {
        const int kind = between(0, 99);
        if (kind < 65) {
            return between(0, screenSide - 1);
        }
        if (kind < 95) {
            return between(-5000, 5000);
        }
        const int extremes[] = {INT_MIN,    INT_MIN + 1, -1000000000,
                                1000000000, INT_MAX - 1, INT_MAX};
        return extremes[between(0, 5)];
    }
    int x() { return coordinate(kScreenWidth); }
    int y() { return coordinate(kScreenHeight); }

    void motion(int px, int py) {
        counts_.events += 1;
        manager_.mouseMotion(px, py);
    }
    void button(int which, int state, int px, int py) {
        counts_.events += 1;
        manager_.mouseButton(which, state, px, py);
    }
    void press(int code, int px, int py) {
        counts_.events += 1;
        manager_.keyboard(code, px, py);
    }

    void sendOne() {
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

    void sendButton() {
        const int which = chance(90) ? between(0, 2) : between(-1, 7);
        const int state = chance(95) ? between(kPress, kRelease) : between(-1, 3);
        button(which, state, x(), y());
    }

    int key() {
        if (chance(60)) {
            return static_cast<unsigned char>(kCommandKeys[between(0, sizeof kCommandKeys - 2)]);
        }
        return chance(98) ? between(0, 255) : between(-300, 600);
    }

    // A held key repeats.
    void holdKey() {
        const int held = key();
        for (int repeats = between(5, 40); repeats > 0; --repeats) {
            press(held, x(), y());
        }
    }

    void clickHelpButton() {
        const bool opens = manager_.liveStates().size() == 1 &&
                           manager_.liveStates().front()->getStatus() == StateStatus::Running;
        stormModifiers = 0;
        motion(kHelpButtonX, kHelpButtonY);
        button(kLeft, kPress, kHelpButtonX, kHelpButtonY);
        button(kLeft, kRelease, kHelpButtonX, kHelpButtonY);
        counts_.helpScreensOpened += opens && !manager_.queuedStates().empty();
    }

    // A box over everything on the screen, so that orders and the damage key find soldiers.
    void selectWholeScreen() {
        motion(0, 0);
        button(kLeft, kPress, 0, 0);
        motion(kScreenWidth - 1, kScreenHeight - 1);
        button(kLeft, kRelease, kScreenWidth - 1, kScreenHeight - 1);
    }

    void hugeDrag() {
        motion(x(), y());
        button(kLeft, kPress, x(), y());
        motion(x(), y());
        if (chance(50)) {
            frame();
        }
        button(kLeft, kRelease, x(), y());
    }

    void frame() {
        counts_.frames += 1;
        setSimulatedClock(counts_.frames * kStepMs);
        manager_.update();
        recorded_.clear();
        manager_.draw();
        checkAfterFrame();
    }

    void checkAfterFrame() {
        const auto& live = manager_.liveStates();
        ASSERT_FALSE(live.empty());
        ASSERT_LE(live.size(), 2u) << "more than one help screen is open";
        ASSERT_LE(manager_.queuedStates().size(), 1u);
        const auto* play = dynamic_cast<const ZOL_MainState*>(live.front().get());
        ASSERT_NE(play, nullptr) << "the battle is no longer the bottom state";
        const World& world = *play->world;
        for (const std::string& line : brokenInvariants(world, {.playerIntervenes = true})) {
            ADD_FAILURE() << "frame " << counts_.frames << ": " << line;
        }
        checkPlayState(*play, world);
        counts_.largestSelection = std::max(counts_.largestSelection, play->selection.size());
        counts_.kills = static_cast<int>(
            std::count_if(world.roster.begin(), world.roster.end(),
                          [](const auto& e) { return e->state == EntityState::Dead; }));
        ASSERT_FALSE(::testing::Test::HasFailure()) << "stopped at frame " << counts_.frames;
    }

    void checkPlayState(const ZOL_MainState& play, const World& world) {
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

    GameStateManager& manager_;
    std::mt19937 random_;
    StormCounts counts_;
    std::vector<SpriteCall> recorded_;

public:
    // Drawing goes to this record instead of OpenGL.
    std::vector<SpriteCall>& recorder() { return recorded_; }
};

class InputStormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResourceCatalogue::instance();
        setSimulatedClock(0);
        std::srand(1);
        ZOL_MainState::setModifierReader(readStormModifiers);
    }
    void TearDown() override {
        setSpriteRecorder(nullptr);
        ZOL_MainState::setModifierReader(nullptr);
    }

    // The game starts in its pictures folder, reading map1.txt from there.
    void startGame(const std::string& mapText) {
        const std::filesystem::path home = std::filesystem::current_path();
        const std::filesystem::path scratch =
            std::filesystem::temp_directory_path() / ("dromlin-storm-" + std::to_string(getpid()));
        std::filesystem::create_directories(scratch);
        std::ofstream(scratch / "map1.txt") << mapText;
        std::filesystem::current_path(scratch);
        manager.addMainState();
        std::filesystem::current_path(home);
        std::filesystem::remove_all(scratch);
    }

    static std::string shippedMap() {
        std::ifstream in(DROMLIN_ASSETS_DIR "/map1.txt");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    GameStateManager manager;
};

}  // namespace

TEST_F(InputStormTest, stormOfRandomInputLeavesTheBattleSound) {
    startGame(shippedMap());
    InputStorm storm(manager, 20261208);
    setSpriteRecorder(&storm.recorder());
    storm.send(eventCount());
    const StormCounts& counts = storm.counts();
    // The storm reached the commands: frames ran, the help screen opened, soldiers were
    // selected and the damage key killed some.
    EXPECT_GT(counts.frames, 0);
    EXPECT_GT(counts.helpScreensOpened, 0);
    EXPECT_GT(counts.largestSelection, 0u);
    EXPECT_GT(counts.kills, 0);
    std::printf(
        "storm: %d events, %d frames, help screen opened %d times, up to %zu soldiers "
        "selected, %d soldiers dead\n",
        counts.events, counts.frames, counts.helpScreensOpened, counts.largestSelection,
        counts.kills);
}

TEST_F(InputStormTest, stormOverACrowdedGeneratedMapLeavesTheBattleSound) {
    BattlePlan crowded;
    crowded.seed = 99;
    crowded.width = 48;
    crowded.height = 30;
    crowded.wallPercent = 20;
    crowded.soldiers = 60;
    startGame(mapText(crowded));
    InputStorm storm(manager, 11);
    setSpriteRecorder(&storm.recorder());
    storm.send(eventCount() / 4);
    EXPECT_GT(storm.counts().largestSelection, 0u);
}

TEST_F(InputStormTest, stormOnASingleTileMapLeavesTheBattleSound) {
    startGame("1 1 r");
    InputStorm storm(manager, 7);
    setSpriteRecorder(&storm.recorder());
    storm.send(eventCount() / 4);
    EXPECT_GT(storm.counts().frames, 0);
}
