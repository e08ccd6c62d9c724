#include "app/VersusPlay.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <sstream>

#include "app/GameStateManager.h"
#include "app/GlutValues.h"
#include "gfx/ResourceCatalogue.h"
#include "net/MessageLink.h"
#include "net/Protocol.h"
#include "net/VersusNotice.h"
#include "play/HelpButton.h"
#include "play/PlayFixture.h"
#include "play/ZOL_MainState.h"
#include "support/QueuedLink.h"

namespace {

// The server's side of the link, written by the test; nothing crosses a socket.
struct FakeLink : QueuedLink {
    struct Wire {
        std::deque<Event> events;
        std::vector<std::string> sent;
        bool closed = false;
    };
    explicit FakeLink(Wire& wire) : QueuedLink(wire.events), wire(wire) {}
    void send(const std::string& text) override { wire.sent.push_back(text); }
    void close() override { wire.closed = true; }
    Wire& wire;
};

constexpr char kRoom[] = "abcdefghij";
constexpr char kLink[] = "http://127.0.0.1:8080/versus.html#abcdefghij";

class VersusPlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        setSimulatedClock(0);
        const std::string map = "2 1\nr.\n";
        inFolderWithMap(&map, [&] { manager.addMainState(); });
        play = dynamic_cast<ZOL_MainState*>(manager.queuedStates().front().get());
        folder = std::filesystem::temp_directory_path() /
                 ("dromlin-versus-test-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        versus.reset();
        std::filesystem::remove_all(folder);
    }

    void connect(const std::string& room) {
        VersusPlay::Settings settings{"127.0.0.1:8080", room, folder};
        versus = std::make_unique<VersusPlay>(std::make_unique<FakeLink>(wire), settings, manager,
                                              *play, errors, now);
    }
    void arrive(MessageLink::Event::Kind kind, const std::string& text = "") {
        wire.events.push_back({kind, text});
        versus->pump(now);
    }
    void serverSays(const std::string& text) { arrive(MessageLink::Event::Kind::Message, text); }
    void startAsBlue() {
        BattleStart start;
        start.team = 1;
        start.room = kRoom;
        start.map = "4 1\nr..b\n";
        start.seed = 7;
        serverSays(battleStartMessage(start));
    }
    void serverTurn(int64_t turn) { serverSays(serverTurnMessage({turn, {}})); }
    // One frame of the window's loop, 16 ms after the last.
    int frame(int due = 1) {
        now += 16;
        versus->pump(now);
        return versus->runSteps(due, now);
    }
    std::vector<std::string> lines() const { return versus->screenLines(now); }
    int printed(const std::string& what) const {
        const std::string text = errors.str();
        int count = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++count;
        }
        return count;
    }

    GameStateManager manager;
    ZOL_MainState* play = nullptr;
    FakeLink::Wire wire;
    std::ostringstream errors;
    std::filesystem::path folder;
    int64_t now = 1000;
    std::unique_ptr<VersusPlay> versus;
};

TEST_F(VersusPlayTest, opensARoomPlaysInLockstepAndKeepsTheStateLineWhenOutOfSync) {
    connect("");
    EXPECT_EQ(lines(), std::vector<std::string>{"Connecting to 127.0.0.1:8080..."});
    arrive(MessageLink::Event::Kind::Opened);
    ASSERT_EQ(wire.sent.size(), 1u);
    EXPECT_NE(wire.sent[0].find("\"hello\""), std::string::npos);
    serverSays(roomOpenedMessage({kRoom, kLink}));
    EXPECT_EQ(lines(), (std::vector<std::string>{std::string("Room ") + kRoom + ": share " + kLink,
                                                 "Waiting for the other player"}));
    EXPECT_EQ(printed(std::string("dromlin-versus: room ") + kRoom + ": share " + kLink), 1);
    EXPECT_EQ(frame(4), 0);  // the local map's battle stands still
    EXPECT_EQ(frame(4), 0);

    startAsBlue();
    EXPECT_EQ(play->world->columns, 4);
    EXPECT_EQ(ResourceCatalogue::instance()->viewMode, ViewMode::Blue);
    // The keys that reach into both teams do nothing; an order for the red soldier is left out.
    for (const int key : {'r', '`', 'g', 'h'}) {
        manager.keyboard(key, 0, 0);
    }
    EXPECT_EQ(ResourceCatalogue::instance()->viewMode, ViewMode::Blue);
    Order order = play->playerOrder(OrderKind::Explore);
    order.soldiers = {0, 1};
    play->giveOrder(order);

    // Turns 0 and 1 need nothing from the server; turn 2 waits for it, and says so after a while.
    EXPECT_EQ(frame(4), 4);
    EXPECT_EQ(frame(4), 4);
    EXPECT_EQ(frame(4), 4);
    EXPECT_EQ(frame(4), 0);
    EXPECT_EQ(play->battleSteps, 12);
    ASSERT_EQ(wire.sent.size(), 3u);  // the hello, turns 2 and 3
    EXPECT_NE(wire.sent[1].find("\"turn\":2,\"orders\":[{\"kind\":4,\"giver\":2,"
                                "\"soldiers\":[1]}]"),
              std::string::npos)
        << wire.sent[1];
    EXPECT_TRUE(lines().empty());
    now += versusNotice::kWaitingShownAfterMs;
    frame();
    EXPECT_EQ(lines(), std::vector<std::string>{"Waiting for the other player"});

    // The help picture does not stop the battle; the battle gets no keys under it.
    manager.mouseMotion(helpButton::kX + 1, helpButton::kY + 1);
    manager.mouseButton(mouse::kLeft, mouse::kPress, helpButton::kX + 1, helpButton::kY + 1);
    manager.mouseButton(mouse::kLeft, mouse::kRelease, helpButton::kX + 1, helpButton::kY + 1);
    ASSERT_EQ(play->getStatus(), StateStatus::Paused);

    // Long waited: the battle catches up by the input delay at most, four steps a frame.
    for (int i = 0; i < 30; ++i) {
        frame();
    }
    for (int turn = 2; turn <= 6; ++turn) {
        serverTurn(turn);
    }
    EXPECT_EQ(manager.liveStates().size(), 2u);
    for (const int expected : {4, 4, 4, 4, 1, 1}) {
        EXPECT_EQ(frame(), expected);
    }
    EXPECT_EQ(play->battleSteps, 30);
    EXPECT_TRUE(lines().empty());
    manager.keyboard(keys::kEscape, 0, 0);
    frame();
    frame();
    EXPECT_EQ(manager.liveStates().size(), 1u);

    serverSays(playerLeftMessage({0, 7}));
    EXPECT_EQ(lines(),
              std::vector<std::string>{"The other player left: their soldiers fight on their own"});
    now += versusNotice::kLeftShownForMs;
    EXPECT_TRUE(lines().empty());

    serverSays(battleEndMessage({"out of sync at step 30", 30}));
    const std::filesystem::path report = folder / "dromlin-out-of-sync-step-30-blue.json";
    const std::string line = "out of sync at step 30: this side's state is in " + report.string();
    EXPECT_EQ(versus->endLine(), line);
    EXPECT_EQ(lines(), std::vector<std::string>{line});
    std::ifstream saved(report);
    std::string state;
    std::getline(saved, state);
    EXPECT_EQ(state, *versus->session().stateLineAt(30));
    EXPECT_TRUE(wire.closed);
    EXPECT_EQ(frame(), 0);
    arrive(MessageLink::Event::Kind::Closed, "bye");
    EXPECT_EQ(printed("dromlin-versus: "), 2);  // the room and the end, once each
}

TEST_F(VersusPlayTest, aServerNotReachedOrRefusingEndsWithItsLineOnce) {
    connect("");
    arrive(MessageLink::Event::Kind::Closed);
    EXPECT_EQ(versus->endLine(), "could not reach the server at 127.0.0.1:8080");
    frame();
    EXPECT_EQ(printed("dromlin-versus: could not reach the server at 127.0.0.1:8080\n"), 1);

    versus.reset();
    connect(kRoom);
    EXPECT_EQ(lines(), std::vector<std::string>{std::string("Joining room ") + kRoom +
                                                " at 127.0.0.1:8080..."});
    arrive(MessageLink::Event::Kind::Opened);
    EXPECT_NE(wire.sent.back().find(kRoom), std::string::npos);
    serverSays(refusedMessage({"the room is full"}));
    arrive(MessageLink::Event::Kind::Closed, "the room is full");
    EXPECT_EQ(lines(), std::vector<std::string>{"the room is full"});
    EXPECT_EQ(printed("dromlin-versus: the room is full\n"), 1);

    // A server that takes the connection and never answers is given up, not waited on.
    versus.reset();
    connect("");
    arrive(MessageLink::Event::Kind::Opened);
    now += VersusPlay::kMostAnswerMs + 1;
    frame();
    EXPECT_TRUE(versus->ended());
}

}  // namespace
