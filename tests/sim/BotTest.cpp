#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "Bot.h"
#include "ai/Entity.h"
#include "net/Host.h"
#include "net/MessageLink.h"
#include "net/Protocol.h"
#include "support/QueuedLink.h"
#include "support/ShippedMap.h"
#include "world/Replay.h"
#include "world/World.h"

namespace {

// The bot's link straight into a Host, with a second player of no will of its own: it joins the
// bot's room and sends each turn the bot sends, with no orders and the bot's hash, or a wrong
// hash at `wrongHashTurn`; at `leaveTurn` it goes.
class HostLink final : public QueuedLink {
public:
    HostLink() : host_({shippedMapText(), "map1.txt", nullptr, [] { return uint64_t{12345678}; }}) {
        host_.connected(kBot, "http://127.0.0.1:1", 0);
        arrive({Event::Kind::Opened, {}});
    }

    int64_t wrongHashTurn = -1;
    int64_t leaveTurn = -1;

    void send(const std::string& text) override {
        host_.received(kBot, text, 0);
        std::string error;
        const std::optional<PlayerMessage> sent = readPlayerMessage(text, error);
        ASSERT_TRUE(sent) << error;
        if (sent->kind == PlayerMessage::Kind::Turn && !gone_) {
            if (sent->turn.turn == leaveTurn) {
                gone_ = true;
                host_.disconnected(kOther, 0);
            } else {
                PlayerTurn mirror{sent->turn.turn, {}, sent->turn.hash};
                mirror.hash ^= sent->turn.turn == wrongHashTurn ? 1 : 0;
                host_.received(kOther, playerTurnMessage(mirror), 0);
            }
        }
        deliver();
    }
    void close() override {
        host_.disconnected(kBot, 0);
        arrive({Event::Kind::Closed, {}});
    }

private:
    static constexpr Host::ConnectionId kBot = 1;
    static constexpr Host::ConnectionId kOther = 2;

    void deliver() {
        for (const Host::Delivery& delivery : host_.takeDeliveries()) {
            if (delivery.to == kBot) {
                arrive({Event::Kind::Message, delivery.text});
                if (delivery.close) {
                    arrive({Event::Kind::Closed, delivery.reason});
                }
            }
            std::string error;
            const std::optional<ServerMessage> message = readServerMessage(delivery.text, error);
            if (message && message->kind == ServerMessage::Kind::RoomOpened) {
                host_.connected(kOther, "http://127.0.0.1:1", 0);
                host_.received(
                    kOther, helloMessage({kProtocolVersion, gameVersion(), message->opened.room}),
                    0);
                deliver();
                return;
            }
        }
    }

    Host host_;
    bool gone_ = false;
};

RunOptions botOptions(int steps) {
    RunOptions options;
    options.connect = "127.0.0.1:1";
    options.steps = steps;
    options.trace = true;
    options.botSeed = 7;
    return options;
}

TEST(Bot, randomOrdersAreOnesThePlayerMayGiveAndNoneWhenItsTeamIsGone) {
    World world;
    std::istringstream map(shippedMapText());
    ASSERT_TRUE(world.loadMap(map, "map1.txt"));
    std::mt19937 random(3);
    for (int team = 0; team < 2; ++team) {
        std::set<int32_t> kinds;
        for (int draw = 0; draw < 300; ++draw) {
            const std::optional<Order> order = randomOrder(world, team, random);
            ASSERT_TRUE(order);
            EXPECT_EQ(versusOrderProblem(world, *order, team), "");
            kinds.insert(order->kind);
        }
        EXPECT_EQ(kinds.size(), 6u);
    }
    for (const auto& soldier : world.roster) {
        if (soldier->team == 1) {
            soldier->health = 0;
        }
    }
    EXPECT_FALSE(randomOrder(world, 1, random));
}

// The Host refuses any order the bot may not give, or a turn out of the lockstep's order.
TEST(Bot, playsItsStepsThroughTheHostAndOnAfterTheOtherLeaves) {
    for (const int64_t leaveTurn : {int64_t{-1}, int64_t{20}}) {
        HostLink link;
        link.leaveTurn = leaveTurn;
        int lines = 0;
        EXPECT_EQ(playBot(botOptions(300), link, [&](const std::string&) { ++lines; }), 0);
        EXPECT_EQ(lines, 301);
    }
}

TEST(Bot, hashesThatDifferEndTheBotWithItsStateKept) {
    HostLink link;
    link.wrongHashTurn = 12;  // the hash after turn 10, step 66
    std::vector<std::string> lines;
    EXPECT_EQ(
        playBot(botOptions(300), link, [&](const std::string& line) { lines.push_back(line); }),
        kExitOutOfSync);
    ASSERT_GE(lines.size(), 66u);
    EXPECT_LE(lines.size(), 72u);
    std::filesystem::path file;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("dromlin-out-of-sync-") && name.ends_with("-red-step66.json")) {
            file = entry.path();
        }
    }
    ASSERT_FALSE(file.empty());
    std::ifstream kept(file);
    std::string line;
    std::getline(kept, line);
    EXPECT_EQ(line, lines[65]);
    kept.close();
    std::filesystem::remove(file);
}

class ScriptedLink final : public QueuedLink {
public:
    explicit ScriptedLink(const std::deque<Event>& events) {
        for (const Event& event : events) {
            arrive(event);
        }
    }
    void send(const std::string&) override {}
    void close() override { arrive({Event::Kind::Closed, {}}); }
};

TEST(Bot, aFullRoomARefusalAndALostServerEachHaveTheirExit) {
    using Kind = MessageLink::Event::Kind;
    const auto play = [](std::deque<MessageLink::Event> events) {
        ScriptedLink link(events);
        return playBot(botOptions(10), link, [](const std::string&) {});
    };
    EXPECT_EQ(play({{Kind::Opened, {}},
                    {Kind::Message, refusedMessage({"room abcdefghjk is full"})},
                    {Kind::Closed, "the server closed the connection: room abcdefghjk is full"}}),
              kExitRoomFull);
    EXPECT_EQ(play({{Kind::Opened, {}}, {Kind::Message, refusedMessage({"there is no room x"})}}),
              kExitRefused);
    EXPECT_EQ(play({{Kind::Closed, "cannot reach 127.0.0.1:1: Connection refused"}}),
              kExitUnreachable);
    EXPECT_EQ(play({{Kind::Opened, {}}, {Kind::Message, "{\"kind\":\"nonsense\"}"}}), kExitEnded);
}

TEST(BeastLink, aPortWithNobodyOrABadAddressClosesAtOnceSayingSo) {
    for (const std::string address : {"127.0.0.1:1", "127.0.0.1", "127.0.0.1:99999"}) {
        const std::unique_ptr<MessageLink> link = openMessageLink(address);
        const std::optional<MessageLink::Event> event = link->wait(10000);
        ASSERT_TRUE(event) << address;
        EXPECT_EQ(event->kind, MessageLink::Event::Kind::Closed);
        EXPECT_EQ(event->text.rfind("cannot reach " + address + ": ", 0), 0u) << event->text;
        EXPECT_FALSE(link->poll());
    }
}

}  // namespace
