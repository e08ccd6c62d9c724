#include <string>

#include "PlayFixture.h"
#include "gfx/TextureSlots.h"
#include "play/ZOL_HelpScreen.h"

namespace {

TEST(HelpScreenTest, drawsOnlyTheHelpPictureCentred) {
    ZOL_HelpScreen help(1, nullptr);
    std::vector<SpriteCall> calls;
    setSpriteRecorder(&calls);
    help.draw();
    setSpriteRecorder(nullptr);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].texture, ResourceCatalogue::instance()->texture(slot::HelpScreen));
    EXPECT_EQ(calls[0].left, 112);
    EXPECT_EQ(calls[0].top, 161);
    EXPECT_EQ(calls[0].right, 912);
    EXPECT_EQ(calls[0].bottom, 607);
}

TEST(HelpScreenTest, onlyALeftPressClosesIt) {
    ZOL_HelpScreen help(1, nullptr);
    help.mouseButton(mouse::kLeft, mouse::kRelease, 10, 10);
    help.mouseButton(mouse::kRight, mouse::kPress, 10, 10);
    help.mouseButton(mouse::kMiddle, mouse::kPress, 10, 10);
    help.keyboard('q', 10, 10);
    EXPECT_EQ(help.getStatus(), StateStatus::Running);
    help.mouseButton(mouse::kLeft, mouse::kPress, 1000, 700);
    EXPECT_EQ(help.getStatus(), StateStatus::Finished);
}

// The whole round trip through the manager: the battle pauses under the help screen, the
// click that closes it is not seen by the battle, nor is the release after it.
class HelpRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        setSimulatedClock(0);
        heldModifiers = 0;
        const std::string map = "2 1\nr.\n";
        inFolderWithMap(&map, [&] { manager.addMainState(); });
        manager.update();
        battle = dynamic_cast<ZOL_MainState*>(manager.liveStates().front().get());
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
    ASSERT_NE(battle, nullptr);
    battle->world->zoom = 1.0;
    battle->world->viewOffsetX = 0;
    battle->world->viewOffsetY = 0;
    click(mouse::kLeft, 950, 30);
    EXPECT_EQ(battle->getStatus(), StateStatus::Paused);
    manager.update();
    ASSERT_EQ(manager.liveStates().size(), 2u);
    EXPECT_EQ(manager.liveStates()[1]->getId(), 1);

    manager.keyboard('r', 0, 0);  // the help screen ignores keys; the battle gets none
    EXPECT_EQ(ResourceCatalogue::instance()->viewMode, ViewMode::Red);

    click(mouse::kLeft, 64, 64);  // over the red soldier
    EXPECT_EQ(manager.liveStates()[1]->getStatus(), StateStatus::Finished);
    EXPECT_FALSE(battle->dragging);
    EXPECT_TRUE(battle->selection.empty());
    EXPECT_EQ(battle->getStatus(), StateStatus::Paused);

    manager.update();
    EXPECT_EQ(manager.liveStates().size(), 1u);
    manager.update();
    EXPECT_EQ(battle->getStatus(), StateStatus::Running);

    click(mouse::kLeft, 950, 30);
    manager.update();
    ASSERT_EQ(manager.liveStates().size(), 2u);
    EXPECT_EQ(manager.liveStates()[1]->getId(), 2);
}

// A player's click lasts several frames: the help screen is gone and the battle runs again
// before the closing click's release arrives, with the pointer last seen on the help button.
TEST_F(HelpRoundTripTest, releaseOfTheClosingClickArrivingFramesLaterDoesNotReopenHelp) {
    ASSERT_NE(battle, nullptr);
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
