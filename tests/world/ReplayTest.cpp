#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/TestWorld.h"
#include "world/Replay.h"

namespace {

std::optional<Replay> read(const std::string& text, std::string& error) {
    std::istringstream in(text);
    return readReplay(in, error);
}

Order order(int32_t kind, std::vector<int32_t> soldiers) {
    Order made;
    made.kind = kind;
    made.giver = teamBit(1);
    made.soldiers = std::move(soldiers);
    return made;
}

TEST(Replay, linesReadBackAsWrittenWithTheMapByteForByte) {
    ReplayHeader header;
    header.map = std::string("3 1\nr\"\\b\n\x01\xff\xc3", 13);
    header.seed = 4294967295u;
    header.tickMs = 33;
    header.commandedTeams = kBothTeams;
    header.hashEvery = 7;
    StepOrders given{4,
                     {order(OrderKind::Move, {0, 2}), order(OrderKind::Pursue, {1}),
                      order(OrderKind::SwitchView, {}), order(OrderKind::Heal, {2})}};
    given.orders[0].column = 5;
    given.orders[0].row = 6;
    given.orders[1].target = 3;
    given.orders[2].commandedTeams = teamBit(0);
    const std::string text = replayHeaderLine(header) + "\n" + replayHashLine({0, ~0ull}) + "\n" +
                             replayOrdersLine(given) + "\n" + replayHashLine({4, 42}) + "\n" +
                             replayEndLine(9) + "\n";
    std::string error;
    const std::optional<Replay> replay = read(text, error);
    ASSERT_TRUE(replay) << error;
    EXPECT_EQ(replay->header.map, header.map);
    EXPECT_EQ(replay->header.game, gameVersion());
    EXPECT_EQ(replay->header.seed, header.seed);
    EXPECT_EQ(replay->header.tickMs, 33);
    EXPECT_EQ(replay->header.commandedTeams, kBothTeams);
    EXPECT_EQ(replay->header.hashEvery, 7);
    ASSERT_EQ(replay->orders.size(), 1u);
    EXPECT_EQ(replay->orders[0].line, 3);
    const std::vector<Order>& orders = replay->orders[0].orders;
    ASSERT_EQ(orders.size(), 4u);
    EXPECT_EQ(orders[0].soldiers, (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(orders[0].giver, teamBit(1));
    EXPECT_EQ(orders[0].column, 5);
    EXPECT_EQ(orders[0].row, 6);
    EXPECT_EQ(orders[1].target, 3);
    EXPECT_EQ(orders[2].commandedTeams, teamBit(0));
    EXPECT_EQ(orders[3].kind, OrderKind::Heal);
    ASSERT_EQ(replay->hashes.size(), 2u);
    EXPECT_EQ(replay->hashes[0].hash, ~0ull);
    EXPECT_EQ(replay->hashes[1].step, 4);
    EXPECT_EQ(replay->steps, 9);
}

const std::string kHeader =
    R"({"format":1,"game":"1.0.0","map":"2 1\nrb","seed":1,"tickMs":16,"commanded":0,)"
    R"("hashEvery":60})";

TEST(Replay, brokenFilesAreRefusedWithOneLineNamingTheLine) {
    const std::string end = "\n{\"end\":10}\n";
    const std::vector<std::pair<std::string, std::string>> broken = {
        {"", "empty"},
        {"\n", "line 1"},
        {kHeader, "no end line"},
        {kHeader + "\n{\"step\":10,\"hash\":\"00000000000000",
         "line 2"},  // cut short inside a line
        {"{\"format\":2,\"map\":\"\"}" + end, "format 2"},
        {"{\"format\":\"1\"}" + end, "'format'"},
        {kHeader.substr(0, kHeader.size() - 1) + ",\"speed\":2}" + end, "'speed'"},
        {kHeader.substr(0, kHeader.size() - 1) + ",\"a\\nb\":2}" + end, "'a?b'"},
        {R"({"format":1,"game":"1.0.0","map":"\u0100","seed":1,"tickMs":16,"commanded":0,)"
         R"("hashEvery":60})" +
             end,
         "beyond one byte"},
        {R"({"format":1,"game":"1.0.0","map":"","seed":-1,"tickMs":16,"commanded":0,)"
         R"("hashEvery":60})" +
             end,
         "'seed'"},
        {R"({"format":1,"game":"1.0.0","map":"","seed":1,"tickMs":1.5,"commanded":0,)"
         R"("hashEvery":60})" +
             end,
         "'tickMs'"},
        {R"({"format":1,"game":"1.0.0","map":"","seed":1,"tickMs":16,"commanded":4,)"
         R"("hashEvery":60})" +
             end,
         "'commanded'"},
        {kHeader + "\n[1,2]" + end, "line 2"},
        {kHeader + "\n{\"step\":1}" + end, "line 2"},
        {kHeader + "\n{\"step\":3,\"orders\":[]}" + end, "'orders'"},
        {kHeader + "\n{\"step\":0,\"orders\":[{\"kind\":3,\"giver\":3,\"soldiers\":[0]}]}" + end,
         "'step'"},
        {kHeader + "\n{\"step\":3,\"orders\":[{\"kind\":12,\"giver\":3,\"soldiers\":[]}]}" + end,
         "order 1: 'kind'"},
        {kHeader + "\n{\"step\":3,\"orders\":[{\"kind\":3,\"giver\":4,\"soldiers\":[]}]}" + end,
         "'giver'"},
        {kHeader + "\n{\"step\":3,\"orders\":[{\"kind\":3,\"giver\":3,\"soldiers\":[-1]}]}" + end,
         "'soldiers'"},
        {kHeader + "\n{\"step\":3,\"orders\":[{\"kind\":3,\"giver\":3,\"soldiers\":0}]}" + end,
         "'soldiers'"},
        {kHeader + "\n{\"step\":3,\"orders\":[{\"kind\":0,\"giver\":3,\"soldiers\":[0]}]}" + end,
         "'tile'"},
        {kHeader +
             "\n{\"step\":3,\"orders\":[{\"kind\":0,\"giver\":3,\"soldiers\":[0],"
             "\"tile\":[1]}]}" +
             end,
         "'tile'"},
        {kHeader +
             "\n{\"step\":3,\"orders\":[{\"kind\":3,\"giver\":3,\"soldiers\":[0],"
             "\"target\":1}]}" +
             end,
         "'target'"},
        {kHeader + "\n{\"step\":3,\"hash\":\"0123456789abcdeF\"}" + end, "hexadecimal"},
        {kHeader + "\n{\"step\":3,\"hash\":\"0123\"}" + end, "hexadecimal"},
        {kHeader +
             "\n{\"step\":5,\"hash\":\"0000000000000000\"}\n"
             "{\"step\":4,\"orders\":[{\"kind\":7,\"giver\":3,\"soldiers\":[]}]}" +
             end,
         "line 3"},
        {kHeader + "\n{\"step\":5,\"hash\":\"0000000000000000\"}\n{\"end\":4}\n", "line 3"},
        {kHeader + "\n{\"end\":4}\n{\"end\":4}\n", "after the end"},
        {kHeader + "\n{\"end\":134217728}\n", "tickMs"},
        {kHeader + "\n{\"x\":[[[[[[[[[]]]]]]]]]}" + end, "nested deeper"},
    };
    for (const auto& [text, reason] : broken) {
        std::string error;
        EXPECT_FALSE(read(text, error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << error << " <- " << text;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(Replay, aFileBeyondTheBoundIsRefusedWithoutReadingItAll) {
    std::string error;
    EXPECT_FALSE(read(kHeader + std::string(kMostReplayBytes, ' '), error));
    EXPECT_NE(error.find("larger"), std::string::npos) << error;
}

TEST(Replay, anOrderFitsOnlyTheSoldiersAndTilesOfItsBattle) {
    const auto world = makeWorld({"r..", "..b"});
    Order move = order(OrderKind::Move, {0, 1});
    move.column = 2;
    move.row = 1;
    EXPECT_EQ(orderProblem(*world, move), "");
    move.soldiers.push_back(2);
    EXPECT_NE(orderProblem(*world, move), "");
    move.soldiers.pop_back();
    move.column = 3;
    EXPECT_NE(orderProblem(*world, move), "");
    Order pursue = order(OrderKind::Pursue, {0});
    pursue.target = 2;
    EXPECT_NE(orderProblem(*world, pursue), "");
    EXPECT_EQ(orderProblem(*world, order(OrderKind::ClearRoutes, {})), "");
}

}  // namespace
