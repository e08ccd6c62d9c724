#include <climits>
#include <utility>
#include <vector>

#include "PlayFixture.h"

namespace {

class KeyCommandsTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        useWorld({"r.........",  //
                  "..........",  //
                  "..........",  //
                  "..........",  //
                  "..........",  //
                  ".........b"});
        play->selection = {&soldier(0)};
    }
    World& world() { return *play->world; }
};

TEST_F(KeyCommandsTest, zoomInCapsAtExactlyOneAndZoomOutStopsAtTheFloor) {
    world().zoom = 0.98;
    key('+');
    EXPECT_EQ(world().zoom, 1.0);
    key('=');
    EXPECT_EQ(world().zoom, 1.0);
    for (int i = 0; i < 60; ++i) {
        key(i % 2 == 0 ? '-' : '_');
    }
    EXPECT_EQ(world().zoom, 0.175);
    key('=');
    EXPECT_EQ(world().zoom, 0.175 * 1.05);
}

TEST_F(KeyCommandsTest, scrollStepInTilesShrinksAsTheViewWidens) {
    const double zooms[] = {1.0, 0.5, 0.25, 0.175};
    const double steps[] = {4.0, 3.5, 2.5, 1.6428571428571428};
    for (int i = 0; i < 4; ++i) {
        world().zoom = zooms[i];
        world().cameraX = 5.0;
        world().cameraY = 1.0;
        key('d');
        key('s');
        EXPECT_DOUBLE_EQ(world().cameraX, 5.0 + steps[i]) << "zoom " << zooms[i];
        EXPECT_DOUBLE_EQ(world().cameraY, 1.0 + steps[i]) << "zoom " << zooms[i];
        key('a');
        key('w');
        EXPECT_DOUBLE_EQ(world().cameraX, 5.0);
        EXPECT_DOUBLE_EQ(world().cameraY, 1.0);
    }
}

// Every scroll clamps both coordinates to the grid, its far edges included.
TEST_F(KeyCommandsTest, scrollingStopsOnTheGridEdgesAndPullsBothCoordinatesIn) {
    world().cameraX = 3.0;
    key('a');
    EXPECT_EQ(world().cameraX, 0.0);
    world().cameraX = 8.0;
    key('d');
    EXPECT_EQ(world().cameraX, 10.0);
    world().cameraX = -7.0;
    world().cameraY = 99.0;
    key('w');
    EXPECT_EQ(world().cameraX, 0.0);
    EXPECT_EQ(world().cameraY, 6.0);
    // The low bound goes first: on a grid of negative size the high one has the last word.
    world().columns = -2;
    world().rows = -3;
    key('a');
    EXPECT_EQ(world().cameraX, -2.0);
    EXPECT_EQ(world().cameraY, -3.0);
}

TEST_F(KeyCommandsTest, viewKeyCyclesEmptiesSelectionAndDropsEveryPath) {
    const int expected[] = {ViewMode::Blue, ViewMode::All, ViewMode::Red};
    const int keys[] = {'r', 'R', 'r'};
    for (int i = 0; i < 3; ++i) {
        soldier(0).requestPath(5, 5);
        soldier(1).requestPath(2, 3);
        play->selection = {&soldier(0)};
        key(keys[i]);
        EXPECT_EQ(ResourceCatalogue::instance()->viewMode, expected[i]);
        EXPECT_TRUE(play->selection.empty());
        for (int s = 0; s < 2; ++s) {
            EXPECT_EQ(soldier(s).path, nullptr);
            EXPECT_EQ(soldier(s).goalY, -1.0);
        }
    }
    soldier(1).requestPath(2, 3);
    play->selection = {&soldier(0)};
    key('`');
    EXPECT_EQ(soldier(1).path, nullptr);
    EXPECT_EQ(play->selection.size(), 1u);
    EXPECT_EQ(ResourceCatalogue::instance()->viewMode, ViewMode::Red);
}

TEST_F(KeyCommandsTest, orderKeysSetTheStateOfEverySelectedSoldier) {
    setViewMode(ViewMode::All);  // the only view in which both teams can be selected
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
    soldier(0).health = 98;
    for (int view : {ViewMode::Red, ViewMode::Blue}) {
        setViewMode(view);
        key('g');
        key('h');
        EXPECT_EQ(soldier(0).health, 98);
    }
    setViewMode(ViewMode::All);
    key('h');
    EXPECT_EQ(soldier(0).health, 100);
    key('g');
    EXPECT_EQ(soldier(0).health, 95);
}

TEST_F(KeyCommandsTest, damageKillsOnceThenKeepsLoweringWithoutWrappingAndHealLeavesTheDead) {
    setViewMode(ViewMode::All);
    soldier(0).health = 3;
    key('g');
    EXPECT_EQ(soldier(0).health, 0);
    EXPECT_EQ(soldier(0).state, EntityState::Dead);
    key('h');
    EXPECT_EQ(soldier(0).health, 0);
    key('g');
    EXPECT_EQ(soldier(0).health, -5);
    EXPECT_EQ(soldier(0).state, EntityState::Dead);
    key('h');
    EXPECT_EQ(soldier(0).health, -5);
    EXPECT_EQ(soldier(0).state, EntityState::Dead);
    soldier(0).health = INT_MIN + 3;
    key('g');
    EXPECT_EQ(soldier(0).health, INT_MIN);
}

TEST_F(KeyCommandsTest, capitalsAndUnlistedKeysDoNothing) {
    setViewMode(ViewMode::All);
    world().zoom = 0.5;
    world().cameraX = 4.0;
    world().cameraY = 3.0;
    soldier(0).requestPath(5, 5);
    const int ignored[] = {'W', 'A', 'S', 'D', 'E', 'I', 'P', 'G', 'H',
                           'x', ' ', 0,   27,  127, 255, -1,  256, 1000};
    for (int code : ignored) {
        key(code);
    }
    EXPECT_EQ(world().zoom, 0.5);
    EXPECT_EQ(world().cameraX, 4.0);
    EXPECT_EQ(world().cameraY, 3.0);
    EXPECT_EQ(ResourceCatalogue::instance()->viewMode, ViewMode::All);
    EXPECT_EQ(play->selection.size(), 1u);
    EXPECT_EQ(soldier(0).health, 100);
    EXPECT_EQ(soldier(0).state, EntityState::Idle);
    EXPECT_NE(soldier(0).path, nullptr);
}

// What a replay or the network will carry: the orders as data, each with the step it precedes.
TEST_F(KeyCommandsTest, ordersReachTheObserverWithTheStepTheyPrecede) {
    std::vector<std::pair<Order, int64_t>> seen;
    play->setOrderObserver(
        [&](const Order& order, int64_t step) { seen.emplace_back(order, step); });
    rightClickTile(4, 2);
    key('i');
    play->update();
    play->update();
    key('w');
    key('r');
    ASSERT_EQ(seen.size(), 3u);
    const auto& [move, moveStep] = seen[0];
    EXPECT_EQ(move.kind, OrderKind::Move);
    EXPECT_EQ(move.giver, teamBit(Team::Red));
    EXPECT_EQ(move.soldiers, std::vector<int32_t>{0});
    EXPECT_EQ(move.column, 4);
    EXPECT_EQ(move.row, 2);
    EXPECT_EQ(moveStep, 1);
    EXPECT_EQ(seen[1].first.kind, OrderKind::Flee);
    EXPECT_EQ(seen[1].second, 1);
    EXPECT_EQ(seen[2].first.kind, OrderKind::SwitchView);
    EXPECT_EQ(seen[2].first.commandedTeams, teamBit(Team::Blue));
    EXPECT_EQ(seen[2].second, 3);
    EXPECT_TRUE(play->world->isCommanded(Team::Blue));
}

}  // namespace
