#include <string>

#include "PlayFixture.h"
#include "play/ZOL_HelpScreen.h"

namespace {

TEST(HelpScreenTest, onlyALeftPressClosesIt) {
    ZOL_HelpScreen help(1, nullptr);
    help.mouseButton(mouse::kLeft, mouse::kRelease, 10, 10);
    help.mouseButton(mouse::kRight, mouse::kPress, 10, 10);
    help.mouseButton(mouse::kMiddle, mouse::kPress, 10, 10);
    EXPECT_EQ(help.getStatus(), StateStatus::Running);
    help.mouseButton(mouse::kLeft, mouse::kPress, 1000, 700);
    EXPECT_EQ(help.getStatus(), StateStatus::Finished);
}

TEST(HelpScreenTest, escClosesItAndOtherKeysDoNot) {
    ZOL_HelpScreen help(1, nullptr);
    for (const int key : {int('r'), int('q'), int(' '), 13, 26, 28, 127}) {
        help.keyboard(key, 10, 10);
    }
    EXPECT_EQ(help.getStatus(), StateStatus::Running);
    help.keyboard(keys::kEscape, 10, 10);
    EXPECT_EQ(help.getStatus(), StateStatus::Finished);
}

// The whole round trip through the manager, which routes input to running states only.
class HelpRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        setSimulatedClock(0);
        heldModifiers = 0;
        const std::string map = "2 1\nr.\n";
        inFolderWithMap(&map, [&] { manager.addMainState(); });
        manager.update();
        battle = dynamic_cast<ZOL_MainState*>(manager.liveStates().front().get());
        ASSERT_NE(battle, nullptr);
        EXPECT_EQ(battle->world->zoom, 0.2);
        battle->world->zoom = 1.0;
    }

    void click(int button, int x, int y) {
        manager.mouseMotion(x, y);
        manager.mouseButton(button, mouse::kPress, x, y);
        manager.mouseButton(button, mouse::kRelease, x, y);
    }

    GameStateManager manager;
    ZOL_MainState* battle = nullptr;
};

TEST_F(HelpRoundTripTest, helpOpensOverThePausedBattleAndTheClosingClickIsLost) {
    click(mouse::kLeft, 950, 30);
    EXPECT_EQ(battle->getStatus(), StateStatus::Paused);
    manager.update();
    ASSERT_EQ(manager.liveStates().size(), 2u);
    EXPECT_EQ(manager.liveStates()[1]->getId(), 1);

    manager.keyboard('r', 0, 0);  // the help screen ignores keys; the battle gets none
    EXPECT_EQ(ResourceCatalogue::instance()->viewMode, ViewMode::Red);
    click(mouse::kLeft, 64, 64);  // over the red soldier
    EXPECT_EQ(manager.liveStates()[1]->getStatus(), StateStatus::Finished);
    EXPECT_TRUE(battle->selection.empty());
    EXPECT_EQ(battle->getStatus(), StateStatus::Paused);

    manager.update();
    manager.update();
    EXPECT_EQ(manager.liveStates().size(), 1u);
    EXPECT_EQ(battle->getStatus(), StateStatus::Running);
    click(mouse::kLeft, 950, 30);
    manager.update();
    ASSERT_EQ(manager.liveStates().size(), 2u);
    EXPECT_EQ(manager.liveStates()[1]->getId(), 2);
}

// A player's click lasts several frames: the help screen is gone and the battle runs again
// before the closing click's release arrives, with the pointer last seen on the help button.
TEST_F(HelpRoundTripTest, releaseOfTheClosingClickArrivingFramesLaterDoesNotReopenHelp) {
    click(mouse::kLeft, 950, 30);
    manager.update();
    manager.mouseMotion(500, 700);
    manager.mouseButton(mouse::kLeft, mouse::kPress, 500, 700);
    manager.update();
    manager.update();
    ASSERT_EQ(battle->getStatus(), StateStatus::Running);
    manager.mouseButton(mouse::kLeft, mouse::kRelease, 500, 700);
    EXPECT_EQ(battle->getStatus(), StateStatus::Running);
    EXPECT_TRUE(manager.queuedStates().empty());
}

}  // namespace
