#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "OrderList.h"

namespace {

std::optional<std::vector<StepOrders>> read(const std::string& text, std::string& error) {
    std::istringstream in(text);
    return readOrderList(in, error);
}

TEST(OrderList, ordersAreGroupedByStepInTheirLinesOrder) {
    std::string error;
    const auto steps = read(
        "# a scripted battle\n"
        "5 move 0 3 to 12 7\n"
        "5 pursue 2 at 4 by blue   # blue's attack\n"
        "\n"
        "9 toggle-wall 1 2\r\n"
        "9 switch-view all\n"
        "9 switch-view red by red\n"
        "12 explore-engage 1\n"
        "12 clear-routes",
        error);
    ASSERT_TRUE(steps) << error;
    ASSERT_EQ(steps->size(), 3u);
    const StepOrders& five = (*steps)[0];
    EXPECT_EQ(five.step, 5);
    EXPECT_EQ(five.line, 2);
    ASSERT_EQ(five.orders.size(), 2u);
    EXPECT_EQ(five.orders[0].kind, OrderKind::Move);
    EXPECT_EQ(five.orders[0].soldiers, (std::vector<int32_t>{0, 3}));
    EXPECT_EQ(five.orders[0].column, 12);
    EXPECT_EQ(five.orders[0].row, 7);
    EXPECT_EQ(five.orders[0].giver, kBothTeams);
    EXPECT_EQ(five.orders[1].target, 4);
    EXPECT_EQ(five.orders[1].giver, teamBit(1));
    const StepOrders& nine = (*steps)[1];
    ASSERT_EQ(nine.orders.size(), 3u);
    EXPECT_EQ(nine.orders[0].column, 1);
    EXPECT_EQ(nine.orders[0].row, 2);
    EXPECT_EQ(nine.orders[1].commandedTeams, kNoTeams);
    EXPECT_EQ(nine.orders[2].commandedTeams, teamBit(0));
    EXPECT_EQ(nine.orders[2].giver, teamBit(0));
    EXPECT_EQ((*steps)[2].orders[1].kind, OrderKind::ClearRoutes);
}

TEST(OrderList, badLinesAreRefusedWithTheirNumber) {
    const std::vector<std::string> bad = {
        "0 flee 1",
        "-3 flee 1",
        "x flee 1",
        "3 jump 1",
        "3 flee",
        "3 flee 1 2 by green",
        "3 flee 1 by",
        "3 move 1 to 4",
        "3 move 1 at 4 5",
        "3 move 1 to 4 5 6",
        "3 pursue 1",
        "3 pursue 1 at -2",
        "3 toggle-wall 2",
        "3 switch-view both",
        "3 flee 99999999999",
        "3 clear-routes 4",
        "2 flee 1\n1 flee 1",
        std::string(70000, '1'),
    };
    for (const std::string& text : bad) {
        std::string error;
        EXPECT_FALSE(read("# first\n" + text + "\n", error)) << text;
        EXPECT_EQ(error.rfind("line 2: ", 0) == 0 || error.rfind("line 3: ", 0) == 0, true)
            << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

}  // namespace
