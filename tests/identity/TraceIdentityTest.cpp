// The speed-ups must leave every battle exactly as it was: the headless runner's trace, every
// soldier and bullet after every step, byte for byte, from the fast build, from the build with
// the plain algorithms, and as recorded before the speed-ups.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kFastRunner = DROMLIN_BINARY_DIR "/dromlin-sim";
const std::string kPlainRunner = DROMLIN_BINARY_DIR "/dromlin-sim-plain";
const std::string kMapMaker = DROMLIN_BINARY_DIR "/dromlin-mapgen";
const std::string kDataDir = DROMLIN_TEST_DIR "/identity";

// The sanitizer build runs many times slower: there every battle is cut short, and a recorded
// trace is compared as far as the shortened battle goes.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kStepDivisor = 4;
#else
constexpr int kStepDivisor = 1;
#endif

struct Battle {
    const char* map;  // "map1" (the shipped map) or a map under identity/maps
    unsigned seed;
    int view;
    int steps;
};

std::string mapFile(const Battle& battle) {
    const std::string name = battle.map;
    return name == "map1" ? DROMLIN_ASSETS_DIR "/map1.txt" : kDataDir + "/maps/" + name + ".txt";
}

std::string traceName(const Battle& battle) {
    return std::string(battle.map) + "-seed" + std::to_string(battle.seed) + "-view" +
           std::to_string(battle.view) + "-steps" + std::to_string(battle.steps);
}

// Everything the command prints; empty, with a failure recorded, when it does not end with
// the status expected.
std::string outputOf(const std::string& command, int expectedStatus = 0) {
    FILE* const pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string out;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    const int status = pclose(pipe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != expectedStatus) {
        ADD_FAILURE() << command << " failed with status " << status;
        return {};
    }
    return out;
}

// One line per step, then a closing line that also holds both teams' discovered tiles.
std::string traceOf(const std::string& runner, const std::string& map, const Battle& battle) {
    return outputOf(runner + " " + map + " --trace --steps " + std::to_string(battle.steps) +
                    " --seed " + std::to_string(battle.seed) + " --view " +
                    std::to_string(battle.view) + " 2>/dev/null");
}

std::string recordedTrace(const Battle& battle) {
    return outputOf("gzip -dc " + kDataDir + "/traces/" + traceName(battle) + ".jsonl.gz");
}

std::string firstLines(const std::string& text, int count) {
    std::size_t end = 0;
    for (int i = 0; i < count && end < text.size(); ++i) {
        const std::size_t lineEnd = text.find('\n', end);
        end = lineEnd == std::string::npos ? text.size() : lineEnd + 1;
    }
    return text.substr(0, end);
}

// The first line on which two traces part, shortened: a whole trace is megabytes.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream a(expected);
    std::istringstream b(actual);
    std::string lineA;
    std::string lineB;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB) {
            return "none";
        }
        if (!moreA || !moreB || lineA != lineB) {
            std::size_t at = 0;
            while (at < lineA.size() && at < lineB.size() && lineA[at] == lineB[at]) {
                ++at;
            }
            const std::size_t from = at > 60 ? at - 60 : 0;
            return "line " + std::to_string(line) + ", column " + std::to_string(at + 1) +
                   ":\n  expected ..." + lineA.substr(from, 160) + "\n  actual   ..." +
                   lineB.substr(from, 160);
        }
    }
}

void expectSameTrace(const std::string& expected, const std::string& actual) {
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(expected == actual) << "traces part at " << firstDifference(expected, actual);
}

// A shortened battle's steps must match the recording's first steps; its closing line differs.
void expectRecordedSteps(const std::string& runner, const Battle& battle) {
    Battle replay = battle;
    replay.steps = battle.steps / kStepDivisor;
    const std::string replayed = traceOf(runner, mapFile(battle), replay);
    const std::string recorded = recordedTrace(battle);
    if (replay.steps == battle.steps) {
        expectSameTrace(recorded, replayed);
    } else {
        expectSameTrace(firstLines(recorded, replay.steps), firstLines(replayed, replay.steps));
    }
}

bool isBuilt(const std::string& program) {
    return static_cast<bool>(std::ifstream(program));
}

// The game's problem lines must reach the user without ever entering a trace.
TEST(RunnerOutput, problemLineGoesToStandardErrorAndNoneToTheTrace) {
    ASSERT_TRUE(isBuilt(kFastRunner));
    const std::string missing = ::testing::TempDir() + "dromlin_no_such_map.txt";
    const std::string errors = ::testing::TempDir() + "dromlin_sim_errors.txt";
    EXPECT_EQ(outputOf(kFastRunner + " " + missing + " --trace 2>" + errors, 2), "");
    std::ostringstream said;
    said << std::ifstream(errors).rdbuf();
    EXPECT_EQ(said.str(), missing + ": cannot open\n");
}

class RecordedBattle : public ::testing::TestWithParam<Battle> {};

TEST_P(RecordedBattle, fastBuildReplaysTheRecordedTrace) {
    ASSERT_TRUE(isBuilt(kFastRunner));
    expectRecordedSteps(kFastRunner, GetParam());
}

TEST_P(RecordedBattle, plainBuildReplaysTheRecordedTrace) {
    ASSERT_TRUE(isBuilt(kPlainRunner));
    expectRecordedSteps(kPlainRunner, GetParam());
}

// Long enough on the shipped map for soldiers to fall and the wounded to run for cover.
constexpr Battle kRecorded[] = {
    {"map1", 1, 2, 1500},     {"map1", 2, 2, 1200},     {"map1", 3, 0, 800},
    {"map1", 4, 1, 600},      {"battle64", 1, 2, 1200}, {"battle64", 2, 2, 800},
    {"battle128", 1, 2, 300},
};

INSTANTIATE_TEST_SUITE_P(Traces, RecordedBattle, ::testing::ValuesIn(kRecorded),
                         [](const ::testing::TestParamInfo<Battle>& info) {
                             std::string name = traceName(info.param);
                             for (char& c : name) {
                                 c = c == '-' ? '_' : c;
                             }
                             return name;
                         });

// Battles nobody recorded, on maps made for the occasion: the two builds must still agree.
struct FreshMap {
    int columns;
    int rows;
    int soldiers;
    unsigned mapSeed;
    Battle battle;
};

class FreshBattle : public ::testing::TestWithParam<FreshMap> {};

TEST_P(FreshBattle, fastAndPlainBuildsAgree) {
    ASSERT_TRUE(isBuilt(kFastRunner) && isBuilt(kPlainRunner) && isBuilt(kMapMaker));
    const FreshMap& fresh = GetParam();
    const std::string map = ::testing::TempDir() + "dromlin_fresh_" +
                            std::to_string(fresh.mapSeed) + "_" + std::to_string(fresh.columns) +
                            ".txt";
    std::ofstream(map) << outputOf(
        kMapMaker + " " + std::to_string(fresh.columns) + " " + std::to_string(fresh.rows) + " " +
        std::to_string(fresh.soldiers) + " " + std::to_string(fresh.mapSeed));
    Battle battle = fresh.battle;
    battle.steps /= kStepDivisor;
    expectSameTrace(traceOf(kPlainRunner, map, battle), traceOf(kFastRunner, map, battle));
}

constexpr FreshMap kFresh[] = {
    {40, 30, 24, 11, {"", 5, 2, 1500}},
    {56, 20, 30, 12, {"", 6, 0, 900}},
    {24, 64, 20, 13, {"", 7, 2, 1200}},
};

INSTANTIATE_TEST_SUITE_P(Maps, FreshBattle, ::testing::ValuesIn(kFresh),
                         [](const ::testing::TestParamInfo<FreshMap>& info) {
                             const FreshMap& fresh = info.param;
                             return "map" + std::to_string(fresh.columns) + "x" +
                                    std::to_string(fresh.rows) + "_seed" +
                                    std::to_string(fresh.battle.seed) + "_view" +
                                    std::to_string(fresh.battle.view);
                         });

// Scripted battles with orders, recorded by replays/record.sh: both builds fight each again
// with every hash line holding, and print the same trace.
class CommittedReplay : public ::testing::TestWithParam<const char*> {};

TEST_P(CommittedReplay, fastAndPlainBuildsFightItAsRecorded) {
    ASSERT_TRUE(isBuilt(kFastRunner) && isBuilt(kPlainRunner));
    const std::string replay = kDataDir + "/replays/" + GetParam() + ".jsonl";
    const std::string fast = outputOf(kFastRunner + " --replay " + replay + " --trace");
    expectSameTrace(fast, outputOf(kPlainRunner + " --replay " + replay + " --trace"));
}

INSTANTIATE_TEST_SUITE_P(Replays, CommittedReplay,
                         ::testing::Values("map1-seed5-view0", "battle64-seed3-view2"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 c = c == '-' ? '_' : c;
                             }
                             return name;
                         });

}  // namespace
