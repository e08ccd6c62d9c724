#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Duel.h"
#include "Runner.h"
#include "ai/Entity.h"
#include "support/ShippedMap.h"
#include "world/BattleHash.h"
#include "world/Replay.h"
#include "world/StateLine.h"

namespace {

// Re-fights the server's replay headless; the final state line, or the problem.
std::string refight(const std::string& replay, int& status) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("duel-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".jsonl");
    std::ofstream(file, std::ios::binary) << replay;
    RunOptions options;
    options.replayFile = file.string();
    std::string last;
    status = runBattle(options, [&](const std::string& line) { last = line; });
    std::filesystem::remove(file);
    return last;
}

std::string finalLine(const Duel::Player& player) {
    const int64_t steps = player.session->stepsTaken();
    return stateLine(*player.world, static_cast<int>(steps),
                     static_cast<int32_t>(steps * player.session->start().tickMs), true);
}

void giveOrdersNowAndThen(Duel& duel, Duel::Player& player) {
    if (player.session->stepsTaken() % 17 == 0) {
        duel.giveRandomOrder(player);
    }
}

}  // namespace

TEST(Duel, bothPlayersFightOneBattleAndTheServersReplayRefightsIt) {
    Duel duel(shippedMapText());
    duel.start();
    ASSERT_EQ(duel.players[0].session->phase(), VersusSession::Phase::Playing);
    EXPECT_EQ(duel.players[0].session->team(), 0);
    EXPECT_EQ(duel.players[1].session->team(), 1);
    EXPECT_EQ(duel.players[0].session->room().link,
              "http://127.0.0.1:8080/versus.html#" + duel.players[0].session->room().room);

    duel.run([&](Duel::Player& player) { giveOrdersNowAndThen(duel, player); });
    for (const Duel::Player& player : duel.players) {
        EXPECT_EQ(player.session->stepsTaken(), 600) << player.session->endLine();
    }
    EXPECT_EQ(battleHash(*duel.players[0].world), battleHash(*duel.players[1].world));
    const std::string line = finalLine(duel.players[0]);
    EXPECT_EQ(line, finalLine(duel.players[1]));
    EXPECT_TRUE(duel.refusals.empty());

    duel.leave(duel.players[0]);
    duel.leave(duel.players[1]);
    EXPECT_EQ(duel.host.rooms(), 0u);
    std::string error;
    std::istringstream in(duel.replay.str());
    const std::optional<Replay> replay = readReplay(in, error);
    ASSERT_TRUE(replay) << error;
    EXPECT_EQ(replay->steps, 600);
    EXPECT_EQ(replay->hashes.size(), 100u);
    EXPECT_GT(replay->orders.size(), 10u);
    int status = -1;
    EXPECT_EQ(refight(duel.replay.str(), status), line);
    EXPECT_EQ(status, 0);
}

TEST(Duel, aDepartedPlayersTeamFightsOnItsOwnAndTheReplayKnowsFromWhen) {
    Duel duel(shippedMapText());
    duel.start();
    duel.players[1].lastStep = 300;
    duel.run([&](Duel::Player& player) { giveOrdersNowAndThen(duel, player); });
    // Blue's last message, after step 300, carried turn 51: red may take it, and no more.
    EXPECT_EQ(duel.players[0].session->stepsTaken(), 312);
    duel.leave(duel.players[1]);
    EXPECT_EQ(duel.players[0].world->commandedTeams, kBothTeams);
    duel.run([&](Duel::Player& player) { giveOrdersNowAndThen(duel, player); });

    const Duel::Player& red = duel.players[0];
    EXPECT_EQ(red.session->stepsTaken(), 600) << red.session->endLine();
    EXPECT_EQ(red.world->commandedTeams, teamBit(0));
    duel.leave(duel.players[0]);
    int status = -1;
    EXPECT_EQ(refight(duel.replay.str(), status), finalLine(red));
    EXPECT_EQ(status, 0);
    EXPECT_NE(duel.replay.str().find("\"reason\":\"blue left at turn"), std::string::npos);
}

TEST(Duel, differingHashesEndTheBattleForBothWithinATurn) {
    Duel duel(shippedMapText());
    duel.start();
    duel.run([&](Duel::Player& player) {
        if (player.session->team() == 1 && player.session->stepsTaken() == 100) {
            player.world->entities.front()->health -= 1;
        }
    });
    for (const Duel::Player& player : duel.players) {
        EXPECT_EQ(player.session->phase(), VersusSession::Phase::Ended);
        EXPECT_EQ(player.session->endLine(), "out of sync at step 102");
        EXPECT_EQ(player.session->outOfSyncStep(), 102);
        EXPECT_LE(player.session->stepsTaken(), 102 + 2 * kTurnSteps);
        ASSERT_NE(player.session->stateLineAt(102), nullptr);
    }
    EXPECT_NE(*duel.players[0].session->stateLineAt(102),
              *duel.players[1].session->stateLineAt(102));
    EXPECT_EQ(duel.host.rooms(), 0u);
    std::string error;
    std::istringstream in(duel.replay.str());
    const std::optional<Replay> replay = readReplay(in, error);
    ASSERT_TRUE(replay) << error;
    EXPECT_EQ(replay->steps, 102);
    EXPECT_EQ(replay->endReason.rfind("out of sync at step 102: red ", 0), 0u) << replay->endReason;
}
