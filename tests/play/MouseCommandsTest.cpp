#include <climits>
#include <vector>

#include "PlayFixture.h"
#include "play/ZOL_HelpScreen.h"

namespace {

using Selection = std::vector<Entity*>;

class MouseCommandsTest : public PlayTest {};

TEST_F(MouseCommandsTest, plainDragReplacesSelectionWithViewedTeamInBoxColumnByColumn) {
    useWorld({"rb.r",  //
              "r..."});
    setViewMode(ViewMode::Red);
    play->selection = {&soldier(2)};  // the red soldier at (3, 0), outside the box
    dragTiles(0, 0, 1, 1);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(3)}));
    EXPECT_FALSE(play->dragging);
}

TEST_F(MouseCommandsTest, boxDraggedFromAnyCornerSelectsTheSameSoldiers) {
    useWorld({"r.r",  //
              ".r.",  //
              "r.r"});
    setViewMode(ViewMode::Red);
    const int corners[4][4] = {{0, 0, 1, 1}, {1, 1, 0, 0}, {1, 0, 0, 1}, {0, 1, 1, 0}};
    for (const auto& c : corners) {
        dragTiles(c[0], c[1], c[2], c[3]);
        EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(2)}))
            << "from (" << c[0] << ", " << c[1] << ") to (" << c[2] << ", " << c[3] << ")";
    }
}

TEST_F(MouseCommandsTest, clickWithoutDragSelectsTheOneTile) {
    useWorld({"rr"});
    dragTiles(1, 0, 1, 0);
    EXPECT_EQ(play->selection, (Selection{&soldier(1)}));
}

TEST_F(MouseCommandsTest, viewModeDecidesWhichTeamTheBoxTakes) {
    useWorld({"rb",  //
              "br"});
    setViewMode(ViewMode::Red);
    dragTiles(0, 0, 1, 1);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(3)}));
    setViewMode(ViewMode::Blue);
    dragTiles(0, 0, 1, 1);
    EXPECT_EQ(play->selection, (Selection{&soldier(2), &soldier(1)}));
    setViewMode(ViewMode::All);
    dragTiles(0, 0, 1, 1);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(2), &soldier(1), &soldier(3)}));
}

TEST_F(MouseCommandsTest, shiftDragAddsAndKeepsEachSoldierOnce) {
    useWorld({"rr."});
    dragTiles(0, 0, 0, 0);
    dragTiles(0, 0, 1, 0, mouse::kShift);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(1)}));
}

TEST_F(MouseCommandsTest, ctrlDragTogglesTheBoxAndKeepsTheRest) {
    useWorld({"rrr"});
    dragTiles(0, 0, 1, 0);
    dragTiles(1, 0, 2, 0, mouse::kCtrl);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(2)}));
    dragTiles(0, 0, 0, 0, mouse::kCtrl | mouse::kShift);
    EXPECT_EQ(play->selection, (Selection{&soldier(2)}));
}

TEST_F(MouseCommandsTest, modifiersAreReadAtTheReleaseThatSelects) {
    useWorld({"rr"});
    dragTiles(0, 0, 0, 0);
    press(mouse::kLeft, centre(1), centre(0));
    release(mouse::kLeft, centre(1), centre(0), mouse::kShift);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(1)}));
}

TEST_F(MouseCommandsTest, deadSoldiersAreNotSelected) {
    useWorld({"rr"});
    soldier(0).kill();
    dragTiles(0, 0, 1, 0);
    EXPECT_EQ(play->selection, (Selection{&soldier(1)}));
}

TEST_F(MouseCommandsTest, boxReachingFarBeyondTheGridSelectsWhatIsInside) {
    useWorld({"r.",  //
              ".r"});
    play->world->zoom = 0.175;
    drag(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(play->selection, (Selection{&soldier(0), &soldier(1)}));
}

TEST_F(MouseCommandsTest, rightClickOnOpenGroundMovesTheSelection) {
    useWorld({"r..."});
    play->selection = {&soldier(0)};
    rightClickTile(3, 0);
    EXPECT_EQ(soldier(0).state, EntityState::Move);
    EXPECT_EQ(soldier(0).goalX, 3.0);
    EXPECT_EQ(soldier(0).goalY, 0.0);
    EXPECT_NE(soldier(0).path, nullptr);
}

TEST_F(MouseCommandsTest, rightClickWithNothingSelectedChangesNothing) {
    World& world = useWorld({"r.b."});
    rightClickTile(1, 0);
    rightClickTile(2, 0);
    EXPECT_EQ(soldier(0).state, EntityState::Idle);
    EXPECT_EQ(soldier(1).target, nullptr);
    EXPECT_EQ(world.tiles[1][0], TileKind::BaseTile);
}

TEST_F(MouseCommandsTest, rightClickOnLivingEnemyPursuesItWithoutMoveOrder) {
    useWorld({"rr.b"});
    play->selection = {&soldier(0), &soldier(1)};
    rightClickTile(3, 0);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(soldier(i).target, &soldier(2));
        EXPECT_EQ(soldier(i).state, EntityState::Pursue);
        EXPECT_EQ(soldier(i).goalX, -1.0);
        EXPECT_EQ(soldier(i).path, nullptr);
    }
}

TEST_F(MouseCommandsTest, rightClickOnTeamMateMakesTheSelectionFollowIt) {
    useWorld({"r.r"});
    play->selection = {&soldier(0)};
    rightClickTile(2, 0);
    EXPECT_EQ(soldier(0).target, &soldier(1));
    EXPECT_EQ(soldier(0).state, EntityState::Pursue);
}

TEST_F(MouseCommandsTest, rightClickOnDeadBodyMovesThereWithoutTargeting) {
    useWorld({"r.b"});
    soldier(1).kill();
    play->selection = {&soldier(0)};
    rightClickTile(2, 0);
    EXPECT_EQ(soldier(0).state, EntityState::Move);
    EXPECT_EQ(soldier(0).goalX, 2.0);
    EXPECT_EQ(soldier(0).target, nullptr);
}

TEST_F(MouseCommandsTest, rightClickOffTheGridGivesNoOrder) {
    useWorld({"r.",  //
              ".."});
    play->selection = {&soldier(0)};
    rightClickTile(2, 0);
    rightClickTile(0, 2);
    press(mouse::kRight, -200, 10);
    EXPECT_EQ(soldier(0).state, EntityState::Idle);
    EXPECT_EQ(soldier(0).goalX, -1.0);
}

TEST_F(MouseCommandsTest, rightClickLessThanATileLeftOfTheGridActsOnColumnZero) {
    World& world = useWorld({"..",  //
                             ".."});
    world.viewOffsetX = 100;
    world.viewOffsetY = 100;
    press(mouse::kRight, 40, 40, mouse::kAlt);
    EXPECT_EQ(world.tiles[0][0], TileKind::Obstacle);
}

TEST_F(MouseCommandsTest, altRightClickOnlyTogglesTheTileEvenWithCtrl) {
    World& world = useWorld({"r.n"});
    play->selection = {&soldier(0)};
    rightClickTile(1, 0, mouse::kAlt | mouse::kCtrl);
    EXPECT_EQ(world.tiles[1][0], TileKind::Obstacle);
    EXPECT_EQ(soldier(0).goalX, -1.0);
    EXPECT_EQ(soldier(0).state, EntityState::Idle);
    rightClickTile(1, 0, mouse::kAlt);
    EXPECT_EQ(world.tiles[1][0], TileKind::BaseTile);
    rightClickTile(2, 0, mouse::kAlt);
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

TEST_F(MouseCommandsTest, shiftRightClickIsAPlainOrder) {
    useWorld({"r..."});
    play->selection = {&soldier(0)};
    rightClickTile(2, 0, mouse::kShift);
    EXPECT_EQ(soldier(0).state, EntityState::Move);
    EXPECT_EQ(soldier(0).goalX, 2.0);
}

TEST_F(MouseCommandsTest, rightReleaseAndMiddleButtonDoNothing) {
    World& world = useWorld({"r..."});
    play->selection = {&soldier(0)};
    heldModifiers = mouse::kAlt;
    play->mouseButton(mouse::kRight, mouse::kRelease, centre(1), centre(0));
    play->mouseButton(mouse::kMiddle, mouse::kPress, centre(1), centre(0));
    play->mouseButton(mouse::kMiddle, mouse::kRelease, centre(1), centre(0));
    EXPECT_EQ(world.tiles[1][0], TileKind::BaseTile);
    EXPECT_EQ(soldier(0).goalX, -1.0);
    EXPECT_FALSE(play->dragging);
}

TEST_F(MouseCommandsTest, leftPressStartsADragAtThePointer) {
    press(mouse::kLeft, 300, 200);
    EXPECT_TRUE(play->dragging);
    EXPECT_EQ(play->dragStartX, 300);
    EXPECT_EQ(play->dragStartY, 200);
    play->mouseMotion(10, 20);
    EXPECT_EQ(play->cursorX, 10);
    EXPECT_EQ(play->cursorY, 20);
    EXPECT_EQ(play->dragStartX, 300);
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

TEST_F(MouseCommandsTest, helpButtonIsHitTestedAtTheLastPointerPosition) {
    useWorld({"r"});
    press(mouse::kLeft, centre(0), centre(0));
    play->mouseMotion(999, 55);
    play->mouseButton(mouse::kLeft, mouse::kRelease, centre(0), centre(0));
    EXPECT_EQ(play->getStatus(), StateStatus::Paused);
    EXPECT_TRUE(play->selection.empty());
}

TEST_F(MouseCommandsTest, releaseJustOutsideTheHelpButtonSelectsInstead) {
    const int outside[4][2] = {{923, 30}, {1000, 30}, {950, 4}, {950, 56}};
    for (const auto& point : outside) {
        press(mouse::kLeft, point[0], point[1]);
        release(mouse::kLeft, point[0], point[1]);
        EXPECT_EQ(play->getStatus(), StateStatus::Running) << point[0] << ", " << point[1];
    }
    EXPECT_TRUE(manager.queuedStates().empty());
    press(mouse::kLeft, 924, 5);
    release(mouse::kLeft, 924, 5);
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
