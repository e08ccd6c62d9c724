#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "gfx/ResourceCatalogue.h"
#include "play/PlayFixture.h"
#include "support/Dice.h"
#include "world/BattleHash.h"
#include "world/Replay.h"
#include "world/ReplayRecorder.h"

namespace {

constexpr int kSteps = 2000;
constexpr int kStepMs = 16;
constexpr unsigned kSeed = 7;

// Plays the shipped map through the play state's own mouse and key operations, one bout of
// input before each step, as a player between two frames.
class Player {
public:
    Player(ZOL_MainState& play, uint32_t seed) : play_(play), dice_(seed) {}

    void playBeforeStep() {
        const int roll = dice_.below(100);
        if (roll < 12) {
            selectBox();
        } else if (roll < 30) {
            rightClick();
        } else if (roll < 36) {
            key("iep`"[dice_.below(4)]);
        } else if (roll < 44) {
            key("gh"[dice_.below(2)]);  // only the all-teams view takes them
        } else if (roll < 46) {
            key('r');
        }
    }

private:
    World& world() { return *play_.world; }

    // The centre of a tile on the screen, as the last step placed the grid.
    int pixelX(int column) {
        return static_cast<int>(world().viewOffsetX + world().zoom * 128 * (column + 0.5));
    }
    int pixelY(int row) {
        return static_cast<int>(world().viewOffsetY + world().zoom * 128 * (row + 0.5));
    }
    int anyColumn() { return dice_.below(world().columns); }
    int anyRow() { return dice_.below(world().rows); }

    void button(int which, int state, int x, int y, int modifiers) {
        heldModifiers = modifiers;
        play_.mouseMotion(x, y);
        play_.mouseButton(which, state, x, y);
    }

    void selectBox() {
        const int modifiers = std::array{0, 0, mouse::kShift, mouse::kCtrl}[dice_.below(4)];
        const int column = anyColumn();
        const int row = anyRow();
        button(mouse::kLeft, mouse::kPress, pixelX(column), pixelY(row), modifiers);
        button(mouse::kLeft, mouse::kRelease, pixelX(column + dice_.between(-12, 12)),
               pixelY(row + dice_.between(-8, 8)), modifiers);
    }

    // On a soldier half the time, so that pursuits happen.
    void rightClick() {
        const int modifiers =
            std::array{0, mouse::kShift, mouse::kCtrl, mouse::kAlt}[dice_.below(4)];
        int column = anyColumn();
        int row = anyRow();
        if (dice_.chance(50) && !world().entities.empty()) {
            const Entity& e =
                *world().entities[dice_.below(static_cast<int>(world().entities.size()))];
            column = static_cast<int>(e.x);
            row = static_cast<int>(e.y);
        }
        button(mouse::kRight, mouse::kPress, pixelX(column), pixelY(row), modifiers);
        button(mouse::kRight, mouse::kRelease, pixelX(column), pixelY(row), modifiers);
    }

    void key(char code) { play_.keyboard(code, 0, 0); }

    ZOL_MainState& play_;
    Dice dice_;
};

std::string textOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The orders the play state gives, recorded, fight the same battle again in the headless
// runner: every hash it checks agrees, the last one with the play state's World.
TEST(PlayReplay, theHeadlessRunnerRefightsTheOrdersThePlayStateGave) {
    const std::string map = textOf(std::string(DROMLIN_ASSETS_DIR) + "/map1.txt");
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("dromlin-playreplay-" + std::to_string(getpid()));
    ResourceCatalogue::instance();
    setSimulatedClock(0);
    seedGameRand(kSeed);
    GameStateManager manager;
    const std::unique_ptr<ZOL_MainState> play = makePlayState(manager, &map);
    ASSERT_TRUE(play->mapLoaded);
    ZOL_MainState::setModifierReader(readHeldModifiers);

    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    ReplayHeader header;
    header.map = map;
    header.seed = kSeed;
    header.tickMs = kStepMs;
    ReplayRecorder recorder(out, header, *play->world);
    std::set<int> kindsGiven;
    play->setOrderObserver([&](const Order& order, int64_t step) {
        kindsGiven.insert(order.kind);
        recorder.order(order, step);
    });
    Player player(*play, kSeed);
    for (int step = 1; step <= kSteps; ++step) {
        player.playBeforeStep();
        setSimulatedClock(step * kStepMs);
        play->update();
        recorder.stepTaken(*play->world, play->battleSteps);
    }
    ZOL_MainState::setModifierReader(nullptr);
    play->setOrderObserver(nullptr);
    ASSERT_TRUE(recorder.finish(*play->world)) << recorder.problem();
    out.close();

    std::ifstream in(file, std::ios::binary);
    std::string error;
    const std::optional<Replay> replay = readReplay(in, error);
    ASSERT_TRUE(replay) << error;
    EXPECT_EQ(replay->steps, kSteps);
    ASSERT_FALSE(replay->hashes.empty());
    EXPECT_EQ(replay->hashes.back().step, kSteps);
    EXPECT_EQ(replay->hashes.back().hash, battleHash(*play->world));
    std::set<int> kindsRecorded;
    for (const StepOrders& step : replay->orders) {
        for (const Order& order : step.orders) {
            kindsRecorded.insert(order.kind);
        }
    }
    EXPECT_EQ(kindsRecorded, kindsGiven);
    // Every kind but the hand-over, which only a versus server gives.
    EXPECT_EQ(kindsRecorded.size(), static_cast<std::size_t>(OrderKind::Count) - 1);

    const std::filesystem::path errors = file.string() + ".err";
    const std::string command = std::string(DROMLIN_BINARY_DIR) + "/dromlin-sim --replay '" +
                                file.string() + "' > /dev/null 2> '" + errors.string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << textOf(errors);
    std::filesystem::remove(file);
    std::filesystem::remove(errors);
}

}  // namespace
