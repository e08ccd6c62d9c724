#include <string>

#include "PlayFixture.h"

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
    EXPECT_EQ(play->world->entities.size(), 2u);
    EXPECT_EQ(play->world->zoom, 0.2);
    EXPECT_FALSE(play->dragging);
    EXPECT_TRUE(play->selection.empty());
}

TEST_F(MainStateTest, missingMapLeavesTheDefaultWorldToStepAndDraw) {
    const auto play = makePlayState(manager, nullptr);
    EXPECT_EQ(play->world->columns, 40);
    EXPECT_EQ(play->world->rows, 25);
    EXPECT_EQ(play->world->zoom, 0.2);
    play->update();
    // Centred on the middle tile, rounded down: (20, 12).
    EXPECT_EQ(play->world->viewOffsetX, 0);
    EXPECT_EQ(play->world->viewOffsetY, 76);
    std::vector<SpriteCall> calls;
    setSpriteRecorder(&calls);
    play->draw();
    setSpriteRecorder(nullptr);
    EXPECT_EQ(calls.size(), 40u * 25u * 2 + 2);  // tiles, fog, banner, button
}

}  // namespace
