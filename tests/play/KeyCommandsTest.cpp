#include <climits>
#include <utility>

#include "PlayFixture.h"

namespace {

class KeyCommandsTest : public PlayTest {
protected:
    World& useField() {
        return useWorld({"r.........",  //
                         "..........",  //
                         "..........",  //
                         "..........",  //
                         "..........",  //
                         ".........b"});
    }
};

TEST_F(KeyCommandsTest, zoomInCapsAtExactlyOne) {
    World& world = useField();
    world.zoom = 0.98;
    key('+');
    EXPECT_EQ(world.zoom, 1.0);
    key('=');
    EXPECT_EQ(world.zoom, 1.0);
    world.zoom = 0.5;
    key('=');
    EXPECT_EQ(world.zoom, 0.5 * 1.05);
}

TEST_F(KeyCommandsTest, zoomOutStopsAtTheFloor) {
    World& world = useField();
    for (int i = 0; i < 60; ++i) {
        key(i % 2 == 0 ? '-' : '_');
    }
    EXPECT_EQ(world.zoom, 0.175);
}

TEST_F(KeyCommandsTest, scrollStepShrinksInTilesAsTheViewWidens) {
    World& world = useField();
    const double zooms[] = {1.0, 0.5, 0.25};
    const double steps[] = {4.0, 3.5, 2.5};
    for (int i = 0; i < 3; ++i) {
        world.zoom = zooms[i];
        world.cameraX = 5.0;
        world.cameraY = 1.0;
        key('d');
        key('s');
        EXPECT_EQ(world.cameraX, 5.0 + steps[i]) << "zoom " << zooms[i];
        EXPECT_EQ(world.cameraY, 1.0 + steps[i]) << "zoom " << zooms[i];
        key('a');
        key('w');
        EXPECT_EQ(world.cameraX, 5.0);
        EXPECT_EQ(world.cameraY, 1.0);
    }
    world.zoom = 0.175;
    world.cameraX = 2.0;
    key('d');
    EXPECT_NEAR(world.cameraX - 2.0, 1.642857, 1e-6);
}

TEST_F(KeyCommandsTest, cameraStopsOnTheGridEdges) {
    World& world = useField();
    world.zoom = 1.0;
    world.cameraX = 3.0;
    key('a');
    EXPECT_EQ(world.cameraX, 0.0);
    world.cameraX = 8.0;
    key('d');
    EXPECT_EQ(world.cameraX, 10.0);
    world.cameraY = 2.0;
    key('w');
    EXPECT_EQ(world.cameraY, 0.0);
    world.cameraY = 4.5;
    key('s');
    EXPECT_EQ(world.cameraY, 6.0);
}

TEST_F(KeyCommandsTest, anyScrollPullsBothCoordinatesBackIntoTheGrid) {
    World& world = useField();
    world.cameraX = -7.0;
    world.cameraY = 99.0;
    key('w');
    EXPECT_EQ(world.cameraX, 0.0);
    EXPECT_EQ(world.cameraY, 6.0);
    world.cameraX = 99.0;
    world.cameraY = -3.0;
    key('a');
    EXPECT_EQ(world.cameraX, 10.0);
    EXPECT_EQ(world.cameraY, 0.0);
}

// The low bound is applied before the high one: on a grid of no width the camera ends on
// the grid's (negative) far edge rather than on 0.
TEST_F(KeyCommandsTest, lowClampComesBeforeHighClamp) {
    World& world = useField();
    world.columns = -2;
    world.rows = -3;
    world.cameraX = -1.0;
    world.cameraY = -1.0;
    key('d');
    EXPECT_EQ(world.cameraX, -2.0);
    EXPECT_EQ(world.cameraY, -3.0);
}

TEST_F(KeyCommandsTest, viewKeyCyclesEmptiesSelectionAndDropsEveryPath) {
    useField();
    const int expected[] = {ViewMode::Blue, ViewMode::All, ViewMode::Red, ViewMode::Blue};
    const int keys[] = {'r', 'R', 'r', 'R'};
    for (int i = 0; i < 4; ++i) {
        soldier(0).requestPath(5, 5);
        soldier(1).requestPath(2, 3);
        play->selection = {&soldier(0)};
        key(keys[i]);
        EXPECT_EQ(ResourceCatalogue::instance()->viewMode, expected[i]);
        EXPECT_TRUE(play->selection.empty());
        for (int s = 0; s < 2; ++s) {
            EXPECT_EQ(soldier(s).path, nullptr);
            EXPECT_EQ(soldier(s).goalX, -1.0);
            EXPECT_EQ(soldier(s).goalY, -1.0);
        }
    }
}

TEST_F(KeyCommandsTest, graveAccentDropsPathsButKeepsSelectionAndView) {
    useField();
    soldier(0).requestPath(5, 5);
    play->selection = {&soldier(0)};
    key('`');
    EXPECT_EQ(soldier(0).path, nullptr);
    EXPECT_EQ(soldier(0).goalX, -1.0);
    EXPECT_EQ(play->selection.size(), 1u);
    EXPECT_EQ(ResourceCatalogue::instance()->viewMode, ViewMode::Red);
}

TEST_F(KeyCommandsTest, orderKeysSetTheStateOfEverySelectedSoldier) {
    useField();
    play->selection = {&soldier(0), &soldier(1)};
    const std::pair<int, int> orders[] = {{'i', EntityState::Flee},
                                          {'e', EntityState::Explore},
                                          {'p', EntityState::ExploreAndEngage}};
    for (const auto& [code, state] : orders) {
        key(code);
        EXPECT_EQ(soldier(0).state, state);
        EXPECT_EQ(soldier(1).state, state);
    }
}

TEST_F(KeyCommandsTest, damageAndHealOnlyInTheAllTeamsView) {
    useField();
    play->selection = {&soldier(0)};
    soldier(0).health = 50;
    for (int view : {ViewMode::Red, ViewMode::Blue}) {
        setViewMode(view);
        key('g');
        key('h');
        EXPECT_EQ(soldier(0).health, 50);
    }
    setViewMode(ViewMode::All);
    key('g');
    EXPECT_EQ(soldier(0).health, 45);
    key('h');
    key('h');
    EXPECT_EQ(soldier(0).health, 55);
}

TEST_F(KeyCommandsTest, damageKillsOnceAndKeepsLoweringTheBody) {
    useField();
    setViewMode(ViewMode::All);
    play->selection = {&soldier(0)};
    soldier(0).health = 3;
    key('g');
    EXPECT_EQ(soldier(0).health, 0);
    EXPECT_EQ(soldier(0).state, EntityState::Dead);
    key('g');
    EXPECT_EQ(soldier(0).health, -5);
    EXPECT_EQ(soldier(0).state, EntityState::Dead);
}

TEST_F(KeyCommandsTest, healingStopsAtFullHealth) {
    useField();
    setViewMode(ViewMode::All);
    play->selection = {&soldier(0)};
    soldier(0).health = 98;
    key('h');
    EXPECT_EQ(soldier(0).health, 100);
    key('h');
    EXPECT_EQ(soldier(0).health, 100);
}

TEST_F(KeyCommandsTest, damageNeverWrapsAroundHealth) {
    useField();
    setViewMode(ViewMode::All);
    play->selection = {&soldier(0)};
    soldier(0).kill();
    soldier(0).health = INT_MIN + 3;
    key('g');
    EXPECT_EQ(soldier(0).health, INT_MIN);
}

TEST_F(KeyCommandsTest, capitalsAndUnlistedKeysDoNothing) {
    World& world = useField();
    setViewMode(ViewMode::All);
    world.zoom = 0.5;
    world.cameraX = 4.0;
    world.cameraY = 3.0;
    soldier(0).requestPath(5, 5);
    play->selection = {&soldier(0)};
    const int ignored[] = {'W', 'A', 'S', 'D', 'E', 'I', 'P', 'G', 'H',
                           'x', ' ', 0,   27,  127, 255, -1,  256, 1000};
    for (int code : ignored) {
        key(code);
    }
    EXPECT_EQ(world.zoom, 0.5);
    EXPECT_EQ(world.cameraX, 4.0);
    EXPECT_EQ(world.cameraY, 3.0);
    EXPECT_EQ(ResourceCatalogue::instance()->viewMode, ViewMode::All);
    EXPECT_EQ(play->selection.size(), 1u);
    EXPECT_EQ(soldier(0).health, 100);
    EXPECT_EQ(soldier(0).state, EntityState::Idle);
    EXPECT_NE(soldier(0).path, nullptr);
}

TEST_F(KeyCommandsTest, everyKeyRemembersThePointer) {
    play->keyboard('x', 321, 123);
    EXPECT_EQ(play->cursorX, 321);
    EXPECT_EQ(play->cursorY, 123);
}

}  // namespace
