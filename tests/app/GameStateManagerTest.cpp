#include "app/GameStateManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the probe states did, in order, e.g. "update 0", "draw 1".
std::vector<std::string> events;

class ProbeState : public GameState {
public:
    using GameState::GameState;

    bool update() override { return record("update"); }
    bool draw() override { return record("draw"); }
    void mouseMotion(int, int) override { record("motion"); }
    void mouseButton(int, int, int, int) override { record("button"); }
    void keyboard(int, int, int) override { record("key"); }

private:
    bool record(const std::string& what) {
        events.push_back(what + " " + std::to_string(id));
        return true;
    }
};

// Pauses itself and opens another state above on any button, as the battle opens its help.
class OpeningState : public ProbeState {
public:
    using ProbeState::ProbeState;

    void mouseButton(int button, int state, int x, int y) override {
        ProbeState::mouseButton(button, state, x, y);
        setStatus(StateStatus::Paused);
        manager->addState<ProbeState>();
    }
};

class GameStateManagerTest : public ::testing::Test {
protected:
    void SetUp() override { events.clear(); }

    void addLive(int count) {
        for (int i = 0; i < count; ++i) {
            manager.addState<ProbeState>();
        }
        manager.update();
        events.clear();
    }

    GameState& live(std::size_t index) { return *manager.liveStates().at(index); }

    std::vector<int> liveIds() const {
        std::vector<int> ids;
        for (const auto& state : manager.liveStates()) {
            ids.push_back(state->getId());
        }
        return ids;
    }

    GameStateManager manager;
};

TEST_F(GameStateManagerTest, emptyManagerDoesNothing) {
    EXPECT_TRUE(manager.update());
    EXPECT_TRUE(manager.draw());
    manager.mouseButton(0, 0, 1, 2);
    EXPECT_TRUE(manager.liveStates().empty());
}

TEST_F(GameStateManagerTest, idsCountFromZeroAndAreNeverReused) {
    addLive(2);
    live(1).setStatus(StateStatus::Finished);
    manager.update();
    manager.addState<ProbeState>();
    manager.update();
    EXPECT_EQ(liveIds(), (std::vector<int>{0, 2}));
}

TEST_F(GameStateManagerTest, firstUpdateOnlyJoinsTheQueuedState) {
    manager.addState<ProbeState>();
    manager.update();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(liveIds(), (std::vector<int>{0}));
    EXPECT_TRUE(manager.queuedStates().empty());
}

TEST_F(GameStateManagerTest, twoFinishedStatesLeaveOverTwoUpdatesUpperFirst) {
    addLive(3);
    live(1).setStatus(StateStatus::Finished);
    live(2).setStatus(StateStatus::Finished);
    manager.update();
    EXPECT_EQ(liveIds(), (std::vector<int>{0, 1}));
    manager.update();
    EXPECT_EQ(liveIds(), (std::vector<int>{0}));
}

TEST_F(GameStateManagerTest, finishedStateBelowOthersLeavesAndTheOrderAboveIsKept) {
    addLive(4);
    live(1).setStatus(StateStatus::Finished);
    manager.update();
    EXPECT_EQ(liveIds(), (std::vector<int>{0, 2, 3}));
}

TEST_F(GameStateManagerTest, pausedTopStateResumesAndIsUpdatedInTheSameUpdate) {
    addLive(2);
    live(0).setStatus(StateStatus::Paused);
    live(1).setStatus(StateStatus::Paused);
    manager.update();
    EXPECT_EQ(live(0).getStatus(), StateStatus::Paused);
    EXPECT_EQ(live(1).getStatus(), StateStatus::Running);
    EXPECT_EQ(events, (std::vector<std::string>{"update 1"}));
}

TEST_F(GameStateManagerTest, onlyRunningAndPausedStatesAreDrawnBottomToTop) {
    addLive(5);
    live(0).setStatus(StateStatus::Paused);
    live(2).setStatus(2);
    live(3).setStatus(StateStatus::Finished);
    live(4).setStatus(-1);
    manager.draw();
    EXPECT_EQ(events, (std::vector<std::string>{"draw 0", "draw 1", "draw 4"}));
}

TEST_F(GameStateManagerTest, inputReachesEveryRunningStateAndNoOther) {
    addLive(4);
    live(1).setStatus(StateStatus::Paused);
    live(2).setStatus(StateStatus::Finished);
    manager.mouseMotion(5, 6);
    manager.mouseButton(0, 0, 5, 6);
    manager.keyboard('z', 5, 6);
    EXPECT_EQ(events, (std::vector<std::string>{"motion 0", "motion 3", "button 0", "button 3",
                                                "key 0", "key 3"}));
}

// The help screen's round trip: the opener stays paused while the new state is up, and runs
// again the update after the new state has gone.
TEST_F(GameStateManagerTest, stateQueuedDuringInputJoinsOnTopAndItsOpenerStaysPaused) {
    manager.addState<OpeningState>();
    manager.update();
    manager.mouseButton(0, 0, 10, 10);
    EXPECT_EQ(liveIds(), (std::vector<int>{0}));

    events.clear();
    manager.update();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(liveIds(), (std::vector<int>{0, 1}));
    EXPECT_EQ(live(0).getStatus(), StateStatus::Paused);
    manager.draw();
    manager.mouseButton(0, 0, 10, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"draw 0", "draw 1", "button 1"}));

    live(1).setStatus(StateStatus::Finished);
    manager.update();
    EXPECT_EQ(live(0).getStatus(), StateStatus::Paused);
    manager.update();
    EXPECT_EQ(live(0).getStatus(), StateStatus::Running);
}

}  // namespace
