#include <climits>
#include <vector>

#include "PlayFixture.h"
#include "play/ZOL_HelpScreen.h"

namespace {

using Selection = std::vector<Entity*>;

class MouseCommandsTest : public PlayTest {};

TEST_F(MouseCommandsTest, plainDragReplacesSelectionWithViewedTeamColumnByColumn) {
    useWorld({"rb.r",  //
              "rr.."});
    play->selection = {&soldier(2)};  // the red soldier at (3, 0), outside the box
    soldier(4).kill();
    dragTiles(1, 1, 0, 0);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(3)}));
    EXPECT_FALSE(play->dragging);
}

TEST_F(MouseCommandsTest, boxFromAnyCornerOrOfOneTileSelectsTheSame) {
    useWorld({"r.r",  //
              ".r.",  //
              "r.r"});
    const int corners[4][4] = {{0, 0, 1, 1}, {1, 1, 0, 0}, {1, 0, 0, 1}, {0, 1, 1, 0}};
    for (const auto& c : corners) {
        dragTiles(c[0], c[1], c[2], c[3]);
        EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(2)})) << c[0] << c[1];
    }
    dragTiles(2, 2, 2, 2);
    EXPECT_EQ(play->selection, (Selection{&soldier(4)}));
}

TEST_F(MouseCommandsTest, viewModeDecidesWhichTeamTheBoxTakes) {
    useWorld({"rb",  //
              "br"});
    const Selection expected[] = {{&soldier(0), &soldier(3)},
                                  {&soldier(2), &soldier(1)},
                                  {&soldier(0), &soldier(2), &soldier(1), &soldier(3)}};
    for (int view = 0; view < 3; ++view) {
        setViewMode(view);
        dragTiles(0, 0, 1, 1);
        EXPECT_EQ(play->selection, expected[view]) << "view " << view;
    }
}

// The modifiers count as they are at the release that selects, not at the press.
TEST_F(MouseCommandsTest, shiftAddsOnceAndCtrlTogglesKeepingTheRest) {
    useWorld({"rrr"});
    dragTiles(0, 0, 0, 0);
    press(mouse::kLeft, centre(0), centre(0));
    release(mouse::kLeft, centre(1), centre(0), mouse::kShift);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(1)}));
    dragTiles(1, 0, 2, 0, mouse::kCtrl);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(2)}));
    dragTiles(0, 0, 0, 0, mouse::kCtrl | mouse::kShift);
    EXPECT_EQ(play->selection, (Selection{&soldier(2)}));
}

TEST_F(MouseCommandsTest, boxReachingFarBeyondTheGridSelectsWhatIsInside) {
    useWorld({"r.",  //
              ".r"});
    play->world->zoom = 0.175;
    drag(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(1)}));
}

TEST_F(MouseCommandsTest, rightClickOnOpenGroundMovesTheSelectionShiftOrNot) {
    useWorld({"rr.."});
    rightClickTile(3, 0);  // nothing selected: nothing happens
    EXPECT_EQ(soldier(0).goalX, -1.0);
    play->selection = {&soldier(0)};
    rightClickTile(3, 0, mouse::kShift);
    EXPECT_EQ(soldier(0).state, EntityState::Move);
    EXPECT_EQ(soldier(0).goalX, 3.0);
    EXPECT_EQ(soldier(0).goalY, 0.0);
    EXPECT_NE(soldier(0).path, nullptr);
    EXPECT_EQ(soldier(1).goalX, -1.0);
}

TEST_F(MouseCommandsTest, rightClickOnALivingSoldierOfEitherTeamPursuesIt) {
    useWorld({"rr.b"});
    play->selection = {&soldier(0)};
    for (int index : {2, 1}) {
        rightClickTile(static_cast<int>(soldier(index).x), 0);
        EXPECT_EQ(soldier(0).target, &soldier(index));
        EXPECT_EQ(soldier(0).state, EntityState::Pursue);
        EXPECT_EQ(soldier(0).goalX, -1.0);  // an occupied tile gets no move order
    }
}

TEST_F(MouseCommandsTest, rightClickOnADeadBodyMovesThereWithoutTargeting) {
    useWorld({"r.b"});
    soldier(1).kill();
    play->selection = {&soldier(0)};
    rightClickTile(2, 0);
    EXPECT_EQ(soldier(0).state, EntityState::Move);
    EXPECT_EQ(soldier(0).goalX, 2.0);
    EXPECT_EQ(soldier(0).target, nullptr);
}

TEST_F(MouseCommandsTest, rightClickOffTheGridReleaseAndMiddleButtonGiveNoOrder) {
    World& world = useWorld({"r.",  //
                             ".."});
    play->selection = {&soldier(0)};
    rightClickTile(2, 0, mouse::kAlt);
    rightClickTile(0, 2);
    press(mouse::kRight, -200, 10);
    // Within a tile of the grid's top and left edges is beside the map too.
    press(mouse::kRight, centre(1), -6, mouse::kAlt);
    press(mouse::kRight, -11, centre(1), mouse::kAlt);
    press(mouse::kRight, -11, centre(1));
    heldModifiers = mouse::kAlt;
    play->mouseButton(mouse::kRight, mouse::kRelease, centre(1), centre(0));
    play->mouseButton(mouse::kMiddle, mouse::kPress, centre(1), centre(0));
    play->mouseButton(mouse::kMiddle, mouse::kRelease, centre(1), centre(0));
    EXPECT_EQ(soldier(0).state, EntityState::Idle);
    EXPECT_EQ(soldier(0).goalX, -1.0);
    EXPECT_EQ(world.tiles[1][0], TileKind::BaseTile);
    EXPECT_EQ(world.tiles[0][1], TileKind::BaseTile);
    EXPECT_FALSE(play->dragging);
}

TEST_F(MouseCommandsTest, altRightClickOnlyTogglesTheTileEvenWithCtrl) {
    World& world = useWorld({"r.n"});
    play->selection = {&soldier(0)};
    rightClickTile(1, 0, mouse::kAlt | mouse::kCtrl);
    EXPECT_EQ(world.tiles[1][0], TileKind::Obstacle);
    EXPECT_EQ(soldier(0).goalX, -1.0);
    EXPECT_EQ(soldier(0).state, EntityState::Idle);
    rightClickTile(1, 0, mouse::kAlt);
    rightClickTile(2, 0, mouse::kAlt);
    EXPECT_EQ(world.tiles[1][0], TileKind::BaseTile);
    EXPECT_EQ(world.tiles[2][0], TileKind::BaseTile);
}

TEST_F(MouseCommandsTest, ctrlRightClickAdvancesEvenOntoAnOccupiedTile) {
    useWorld({"r..b"});
    play->selection = {&soldier(0)};
    rightClickTile(3, 0, mouse::kCtrl | mouse::kShift);
    EXPECT_EQ(soldier(0).state, EntityState::Advance);
    EXPECT_EQ(soldier(0).goalX, 3.0);
    EXPECT_EQ(soldier(0).target, nullptr);
}

TEST_F(MouseCommandsTest, helpButtonPausesTheBattleAndQueuesTheHelpScreen) {
    useWorld({"rr"});
    play->selection = {&soldier(1)};
    press(mouse::kLeft, 950, 30);
    release(mouse::kLeft, 950, 30);
    EXPECT_EQ(play->getStatus(), StateStatus::Paused);
    ASSERT_EQ(manager.queuedStates().size(), 1u);
    EXPECT_NE(dynamic_cast<ZOL_HelpScreen*>(manager.queuedStates().front().get()), nullptr);
    EXPECT_EQ(play->selection, (Selection{&soldier(1)}));
    EXPECT_FALSE(play->dragging);
}

// The hit test uses the last pointer position, not the release's; its edges count.
TEST_F(MouseCommandsTest, helpButtonIsHitTestedAtTheLastPointerPosition) {
    const int outside[4][2] = {{923, 30}, {1000, 30}, {950, 4}, {950, 56}};
    for (const auto& point : outside) {
        press(mouse::kLeft, 10, 10);
        play->mouseMotion(point[0], point[1]);
        play->mouseButton(mouse::kLeft, mouse::kRelease, 950, 30);
        EXPECT_EQ(play->getStatus(), StateStatus::Running) << point[0] << ", " << point[1];
    }
    press(mouse::kLeft, 10, 10);
    play->mouseMotion(999, 55);
    play->mouseButton(mouse::kLeft, mouse::kRelease, 10, 10);
    EXPECT_EQ(play->getStatus(), StateStatus::Paused);
}

TEST_F(MouseCommandsTest, leftReleaseWithoutItsPressNeitherSelectsNorOpensHelp) {
    useWorld({"r"});
    release(mouse::kLeft, centre(0), centre(0));
    EXPECT_TRUE(play->selection.empty());
    release(mouse::kLeft, 950, 30);
    EXPECT_EQ(play->getStatus(), StateStatus::Running);
    EXPECT_TRUE(manager.queuedStates().empty());
}

}  // namespace
