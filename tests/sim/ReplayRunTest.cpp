#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Runner.h"
#include "base/Problem.h"
#include "world/Replay.h"

namespace {

std::string testFile(const std::string& what) {
    return ::testing::TempDir() + "dromlin_replay_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + what;
}

std::string written(const std::string& what, const std::string& text) {
    const std::string path = testFile(what);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct Outcome {
    int status = 0;
    std::vector<std::string> lines;
    std::string problems;
};

// Problem lines are caught in a file for the test to read.
Outcome run(const RunOptions& options) {
    Outcome outcome;
    std::FILE* const problems = std::tmpfile();
    setProblemSink(problems);
    outcome.status =
        runBattle(options, [&outcome](const std::string& line) { outcome.lines.push_back(line); });
    setProblemSink(nullptr);
    std::rewind(problems);
    for (int c = 0; (c = std::fgetc(problems)) != EOF;) {
        outcome.problems += static_cast<char>(c);
    }
    std::fclose(problems);
    return outcome;
}

RunOptions replayOf(const std::string& file) {
    RunOptions options;
    options.replayFile = file;
    options.trace = true;
    return options;
}

const char* const kMap =
    "14 6\n"
    "..r...........\n"
    "..r....o......\n"
    ".......o...b..\n"
    ".......o......\n"
    "..r........b..\n"
    "..............\n";

const char* const kOrders =
    "5 move 0 1 to 5 5\n"
    "30 advance 2 to 9 3 by red\n"
    "70 pursue 3 at 0\n"
    "90 toggle-wall 7 5\n"
    "90 flee 4\n"
    "150 switch-view blue\n"
    "200 damage 0 1 2 3 4\n";

// The battle of kMap with kOrders, traced and recorded in view 0.
struct Recording {
    std::string replayFile;
    Outcome outcome;
};

Recording record(int steps) {
    RunOptions options;
    options.mapFile = written("map.txt", kMap);
    options.ordersFile = written("orders.txt", kOrders);
    options.recordFile = testFile("replay.jsonl");
    options.steps = steps;
    options.view = 0;
    options.trace = true;
    return {options.recordFile, run(options)};
}

TEST(ReplayRun, aRecordedBattleWithOrdersIsFoughtAgainLineForLine) {
    const Recording recording = record(300);
    ASSERT_EQ(recording.outcome.status, 0) << recording.outcome.problems;
    const std::string replay = contents(recording.replayFile);
    EXPECT_EQ(replay.rfind("{\"format\":1,\"game\":\"", 0), 0u);
    EXPECT_NE(replay.find("\"map\":\"14 6\\n..r.."), std::string::npos);
    EXPECT_NE(replay.find("{\"step\":300,\"hash\":"), std::string::npos);
    EXPECT_EQ(replay.substr(replay.size() - 12), "{\"end\":300}\n");
    const Outcome again = run(replayOf(recording.replayFile));
    EXPECT_EQ(again.status, 0) << again.problems;
    EXPECT_EQ(again.problems, "");
    EXPECT_EQ(again.lines, recording.outcome.lines);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(ReplayRun, aChangedHashLineIsCaughtAtItsStep) {
    const Recording recording = record(200);
    ASSERT_EQ(recording.outcome.status, 0) << recording.outcome.problems;
    std::string text = contents(recording.replayFile);
    const std::size_t at = text.find("{\"step\":120,\"hash\":\"") + 20;
    text[at] = text[at] == '0' ? '1' : '0';
    const Outcome again = run(replayOf(written("edited.jsonl", text)));
    EXPECT_EQ(again.status, kExitReplayDiffers);
    EXPECT_NE(again.problems.find("differs from its recording at step 120 "), std::string::npos)
        << again.problems;
    // The trace goes as far as the step that differs, and no further.
    EXPECT_EQ(again.lines.size(), 120u);
}

TEST(ReplayRun, anOrderEditedByOneByteIsCaughtAtTheFirstHashAfterIt) {
    const Recording recording = record(200);
    ASSERT_EQ(recording.outcome.status, 0) << recording.outcome.problems;
    const std::string text = contents(recording.replayFile);
    const Outcome again = run(replayOf(written("edited.jsonl", replaced(text, "[5,5]", "[5,4]"))));
    EXPECT_EQ(again.status, kExitReplayDiffers);
    EXPECT_NE(again.problems.find("at step 60 "), std::string::npos) << again.problems;
}

TEST(ReplayRun, anotherFormatOrABrokenReplayStopsBeforeTheBattleWithOneLine) {
    const Recording recording = record(200);
    ASSERT_EQ(recording.outcome.status, 0) << recording.outcome.problems;
    const std::string text = contents(recording.replayFile);
    // The reader's own refusals are its tests'; one of them here, and those that need the battle.
    const std::vector<std::pair<std::string, std::string>> broken = {
        {replaced(text, "{\"format\":1,", "{\"format\":2,"), "format 2"},
        {replaced(text, "\"soldiers\":[3]", "\"soldiers\":[9]"), "soldier 9"},
        {replaced(text, "[7,5]", "[14,5]"), "off the map"},
        {replaced(text, "{\"end\":200}", "{\"end\":180}"), "line "},
        {replaced(text, "14 6\\n", "0 6\\n"), "(its map)"},
    };
    for (const auto& [bytes, reason] : broken) {
        const Outcome again = run(replayOf(written("broken.jsonl", bytes)));
        EXPECT_EQ(again.status, kExitBadInput) << reason;
        EXPECT_TRUE(again.lines.empty()) << reason;
        EXPECT_NE(again.problems.find(reason), std::string::npos) << again.problems;
        EXPECT_EQ(again.problems.find('\n'), again.problems.size() - 1) << again.problems;
    }
    EXPECT_EQ(run(replayOf(testFile("missing.jsonl"))).status, kExitBadInput);
}

TEST(ReplayRun, ordersThatDoNotFitTheBattleAreRefusedBeforeIt) {
    RunOptions options;
    options.mapFile = written("map.txt", kMap);
    options.steps = 10;
    for (const std::string orders : {"3 flee 4", "3 flee 5", "11 flee 0", "3 move 0 to 14 0"}) {
        options.ordersFile = written("orders.txt", orders);
        const Outcome outcome = run(options);
        EXPECT_EQ(outcome.status, orders == "3 flee 4" ? 0 : kExitBadInput) << orders;
        EXPECT_EQ(outcome.problems.empty(), orders == "3 flee 4") << outcome.problems;
    }
}

}  // namespace
