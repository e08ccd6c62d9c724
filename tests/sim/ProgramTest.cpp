#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kProgram = DROMLIN_BINARY_DIR "/dromlin-sim";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

Outcome runProgram(const std::string& arguments) {
    // Named after the running test, as the tests may run side by side.
    const std::string base = ::testing::TempDir() + "dromlin_sim_" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string out = base + ".out";
    const std::string err = base + ".err";
    const int raw = std::system((kProgram + " " + arguments + " >" + out + " 2>" + err).c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return {status, readFile(out), readFile(err)};
}

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::ifstream(kProgram)) {
            GTEST_SKIP() << kProgram << " is not built";
        }
    }
};

TEST_F(Program, standardOutputCarriesOnlyTheStateLines) {
    const Outcome run = runProgram(DROMLIN_ASSETS_DIR "/map1.txt --steps 40 --trace --view 0");
    EXPECT_EQ(run.status, 0);
    std::istringstream lines(run.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_EQ(line.rfind("{\"step\": ", 0), 0u) << line;
        EXPECT_EQ(line.back(), '}');
    }
    EXPECT_EQ(count, 41);
}

TEST_F(Program, mapThatCannotBeLoadedIsReportedOnStandardErrorWithStatusTwo) {
    const Outcome run = runProgram(::testing::TempDir() + "dromlin_no_such_map.txt");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("dromlin_no_such_map.txt"), std::string::npos);
}

TEST_F(Program, badArgumentsGiveOneLineOnStandardErrorAndStatusTwo) {
    const Outcome run = runProgram("map.txt --view 7");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
}

TEST_F(Program, twoRunsWithTheSameSeedPrintTheSameBytes) {
    const std::string arguments = DROMLIN_ASSETS_DIR "/map1.txt --steps 300 --seed 9 --tick-ms 20";
    const Outcome first = runProgram(arguments);
    const Outcome second = runProgram(arguments);
    EXPECT_EQ(first.status, 0);
    EXPECT_FALSE(first.out.empty());
    EXPECT_EQ(first.out, second.out);
}

}  // namespace
