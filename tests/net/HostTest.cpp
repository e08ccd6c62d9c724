#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/Host.h"
#include "net/Protocol.h"
#include "world/Replay.h"

namespace {

// Red's soldier 0 and blue's soldier 1 on a map of two tiles and a floor row.
constexpr char kMap[] = "3 2\nr.b\n...\n";

class HostTest : public ::testing::Test {
protected:
    HostTest() : host(Host::Settings{kMap, "map", nullptr, [this] { return ++bits; }}) {}

    std::vector<Host::Delivery> say(Host::ConnectionId id, const std::string& text) {
        host.received(id, text, now);
        return host.takeDeliveries();
    }
    std::string hello(const std::string& room = "") {
        return helloMessage({kProtocolVersion, gameVersion(), room});
    }
    // Red opens (1), blue joins (2); returns the room's code.
    std::string startBattle() {
        host.connected(1, "http://127.0.0.1:8080", now);
        host.connected(2, "http://127.0.0.1:8080", now);
        std::string error;
        const auto opened = readServerMessage(say(1, hello()).at(0).text, error);
        const std::string code = opened->opened.room;
        EXPECT_EQ(say(2, hello(code)).size(), 2u);
        return code;
    }
    static std::string turn(int64_t number, std::vector<Order> orders = {}) {
        return playerTurnMessage({number, std::move(orders), 0x1234});
    }
    static Order move(uint32_t giver, int32_t soldier) {
        Order order;
        order.kind = OrderKind::Move;
        order.giver = giver;
        order.soldiers = {soldier};
        order.column = 1;
        order.row = 1;
        return order;
    }
    // The one refusal among the deliveries to `id`: closed, and the reason.
    static std::string refusal(const std::vector<Host::Delivery>& deliveries,
                               Host::ConnectionId id) {
        for (const Host::Delivery& delivery : deliveries) {
            if (delivery.to == id && delivery.close) {
                return delivery.reason;
            }
        }
        return "(not refused)";
    }

    uint64_t bits = 0;
    int64_t now = 0;
    Host host;
};

TEST_F(HostTest, refusesWhatBreaksTheRulesAndClosesOnlyThatConnection) {
    struct Case {
        std::string message;
        std::string reason;
    };
    const std::string big(kMostPlayerMessageBytes + 1, ' ');
    const std::vector<Order> tooMany(kMostOrdersPerTurn + 1, move(1, 0));
    Order damage = move(1, 0);
    damage.kind = OrderKind::Damage;
    const std::vector<Case> cases = {
        {big, "larger than"},
        {"{\"kind\":", "not a JSON object"},
        {"{\"kind\":\"dance\"}", "unknown kind"},
        {turn(3), "out of order"},
        {turn(2, {move(1, 1)}), "of the other team"},
        {turn(2, {move(2, 0)}), "for the other team"},
        {turn(2, {damage}), "cannot give"},
        {playerTurnMessage({2, tooMany, 0}), "more than 64 orders"},
        {hello(), "a second hello"},
    };
    for (const Case& test : cases) {
        startBattle();
        const std::vector<Host::Delivery> answer = say(1, test.message);
        EXPECT_NE(refusal(answer, 1).find(test.reason), std::string::npos)
            << refusal(answer, 1) << " <- " << test.message.substr(0, 80);
        // Blue plays on, alone: red's departure is told, and its turn goes through.
        const std::vector<Host::Delivery> after = say(2, turn(2));
        ASSERT_FALSE(after.empty()) << test.reason;
        EXPECT_EQ(after.back().to, 2u);
        EXPECT_NE(after.back().text.find("\"kind\":\"turn\""), std::string::npos);
        host.disconnected(2, now);
    }
    EXPECT_EQ(host.rooms(), 0u);
    EXPECT_EQ(host.connections(), 0u);
}

TEST_F(HostTest, roomsAreTakenByTwoAndJoinedOnlyByTheirCode) {
    const std::string code = startBattle();
    EXPECT_TRUE(isRoomCode(code));
    host.connected(3, "http://x", now);
    EXPECT_EQ(refusal(say(3, hello(code)), 3), "room " + code + " is full");
    host.connected(4, "http://x", now);
    EXPECT_EQ(refusal(say(4, hello("2222222222")), 4), "there is no room 2222222222");
    host.connected(5, "http://x", now);
    EXPECT_NE(refusal(say(5, helloMessage({2, gameVersion(), ""})), 5).find("protocol 2"),
              std::string::npos);
    host.connected(6, "http://x", now);
    EXPECT_NE(refusal(say(6, helloMessage({1, "0.9", ""})), 6).find("game 0.9"), std::string::npos);
    host.connected(7, "http://x", now);
    EXPECT_NE(refusal(say(7, turn(2)), 7).find("before the battle started"), std::string::npos);
    EXPECT_EQ(host.rooms(), 1u);
}

TEST_F(HostTest, theSilentAreLetGoOnlyWhenTheyOweATurn) {
    startBattle();
    host.connected(9, "http://x", now);
    EXPECT_TRUE(say(1, turn(2)).empty());  // blue owes turn 2
    now = Host::kSilenceMs;
    host.tick(now);
    EXPECT_TRUE(host.takeDeliveries().empty());
    now = Host::kSilenceMs + 1;
    host.tick(now);
    const std::vector<Host::Delivery> deliveries = host.takeDeliveries();
    EXPECT_EQ(refusal(deliveries, 9), "no hello within 10 s");
    EXPECT_EQ(refusal(deliveries, 2), "silent for 10 s");
    EXPECT_EQ(refusal(deliveries, 1), "(not refused)");
    // Red hears that blue left and from which turn blue's soldiers fight on their own.
    std::string error;
    bool toldLeft = false;
    bool handedOver = false;
    for (const Host::Delivery& delivery : deliveries) {
        const auto message = readServerMessage(delivery.text, error);
        if (delivery.to == 1 && message && message->kind == ServerMessage::Kind::Left) {
            toldLeft = message->left.team == 1 && message->left.turn == 2;
        }
        if (delivery.to == 1 && message && message->kind == ServerMessage::Kind::Turn) {
            handedOver = message->turn.turn == 2 && message->turn.orders.size() == 1 &&
                         message->turn.orders[0].kind == OrderKind::HandOver &&
                         message->turn.orders[0].commandedTeams == teamBit(0);
        }
    }
    EXPECT_TRUE(toldLeft);
    EXPECT_TRUE(handedOver);
}

}  // namespace
