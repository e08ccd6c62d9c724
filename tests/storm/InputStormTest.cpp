// Random mouse and key events, fed through the state manager at random frames while the
// battle runs headless: nothing may crash or trip the sanitizers, and after every frame the
// battle keeps the soak's rules (those a player cannot legitimately break) and the play
// state its own. DROMLIN_STORM_EVENTS sets the number of events (default 6000) and
// DROMLIN_STORM_SEED the seed of the storm on the shipped map.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "BattlePlan.h"
#include "InputStorm.h"
#include "app/GameStateManager.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Sprite.h"
#include "play/ZOL_MainState.h"

namespace {

constexpr int kDefaultEvents = 6000;

int positiveFromEnvironment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    const int value = text != nullptr ? std::atoi(text) : 0;
    return value > 0 ? value : fallback;
}

int eventCount() {
    return positiveFromEnvironment("DROMLIN_STORM_EVENTS", kDefaultEvents);
}

class InputStormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResourceCatalogue::instance();
        setSimulatedClock(0);
        seedGameRand(1);
        ZOL_MainState::setModifierReader(InputStorm::readModifiers);
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
    InputStorm storm(manager, positiveFromEnvironment("DROMLIN_STORM_SEED", 20261208));
    setSpriteRecorder(&storm.recorder());
    storm.send(eventCount());
    const StormCounts& counts = storm.counts();
    // The storm reached the commands: frames ran, the help screen opened, soldiers were
    // selected and the damage key killed some.
    EXPECT_GT(counts.frames, 0);
    EXPECT_GT(counts.helpScreensOpened, 0);
    EXPECT_GT(counts.largestSelection, 0u);
    EXPECT_GT(counts.dead, 0);
    std::printf(
        "storm: %d events, %d frames, help screen opened %d times, up to %zu soldiers "
        "selected, %d soldiers dead\n",
        counts.events, counts.frames, counts.helpScreensOpened, counts.largestSelection,
        counts.dead);
}

TEST_F(InputStormTest, stormOverACrowdedGeneratedMapLeavesTheBattleSound) {
    const BattlePlan crowded{
        .seed = 99, .width = 48, .height = 30, .wallPercent = 20, .soldiers = 60};
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
