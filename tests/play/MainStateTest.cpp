#include <string>

#include "PlayFixture.h"
#include "play/ZOL_HelpScreen.h"

namespace {

class MainStateTest : public ::testing::Test {
protected:
    void SetUp() override { setSimulatedClock(0); }
    GameStateManager manager;
};

TEST_F(MainStateTest, startsZoomedOutInTheRedViewOnTheMap) {
    ResourceCatalogue::instance()->viewMode = ViewMode::All;
    const std::string map = "4 2\nr..o\noo.b\n";
    const auto play = makePlayState(manager, &map);
    EXPECT_EQ(ResourceCatalogue::instance()->viewMode, ViewMode::Red);
    EXPECT_EQ(play->world->columns, 4);
    EXPECT_EQ(play->world->rows, 2);
    EXPECT_EQ(play->world->entities.size(), 2u);
    EXPECT_EQ(play->world->zoom, 0.2);
    EXPECT_EQ(play->dragStartX, -1);
    EXPECT_EQ(play->dragStartY, -1);
    EXPECT_EQ(play->cursorX, 0);
    EXPECT_EQ(play->cursorY, 0);
    EXPECT_FALSE(play->dragging);
    EXPECT_TRUE(play->selection.empty());
    EXPECT_EQ(play->getStatus(), StateStatus::Running);
}

TEST_F(MainStateTest, missingMapLeavesTheDefaultWorldRunning) {
    const auto play = makePlayState(manager, nullptr);
    EXPECT_EQ(play->world->columns, 40);
    EXPECT_EQ(play->world->rows, 25);
    EXPECT_TRUE(play->world->entities.empty());
    EXPECT_EQ(play->world->zoom, 0.2);
    play->update();
    std::vector<SpriteCall> calls;
    setSpriteRecorder(&calls);
    play->draw();
    setSpriteRecorder(nullptr);
    EXPECT_FALSE(calls.empty());
}

TEST_F(MainStateTest, updateStepsTheWorldAndItsCamera) {
    const auto play = makePlayState(manager, nullptr);
    play->update();
    EXPECT_EQ(play->world->tilePixelWidth, 0.2 * 128);
    EXPECT_EQ(play->world->viewOffsetX, 0);
    EXPECT_EQ(play->world->viewOffsetY, 76);
}

TEST_F(MainStateTest, managerBuildsTheBattleAsItsFirstState) {
    const std::string map = "3 1\nr.b\n";
    GameStateManager fresh;
    inFolderWithMap(&map, [&] { fresh.addMainState(); });
    fresh.update();
    ASSERT_EQ(fresh.liveStates().size(), 1u);
    const auto* play = dynamic_cast<const ZOL_MainState*>(fresh.liveStates().front().get());
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->getId(), 0);
    EXPECT_EQ(play->world->entities.size(), 2u);
}

}  // namespace
