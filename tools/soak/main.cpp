// dromlin-soak: fights generated battles on the simulated clock and checks every rule of a
// sound battle after every step. Build it in the sanitizer build to catch memory faults too.
//   dromlin-soak [--steps N] [--seed S] [--battle-steps N] [--max-side N] [--max-soldiers N]
//   [--battle K]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "BattlePlan.h"
#include "Soak.h"

namespace {

constexpr char kUsage[] =
    "usage: dromlin-soak [--steps N] [--seed S] [--battle-steps N] [--max-side N] [--max-soldiers "
    "N] [--battle K]";

struct Arguments {
    SoakOptions soak;
    std::optional<int> onlyBattle;
};

std::optional<long long> readNumber(const char* text, long long low, long long high) {
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<Arguments> parse(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            return std::nullopt;
        }
        const char* value = argv[i + 1];
        std::optional<long long> number;
        if (name == "--steps" && (number = readNumber(value, 1, 1LL << 40))) {
            arguments.soak.totalSteps = *number;
        } else if (name == "--seed" && (number = readNumber(value, 0, 4294967295LL))) {
            arguments.soak.seed = static_cast<unsigned>(*number);
        } else if (name == "--battle-steps" && (number = readNumber(value, 1, 100000000))) {
            arguments.soak.stepsPerBattle = static_cast<int>(*number);
        } else if (name == "--max-side" && (number = readNumber(value, 5, 128))) {
            arguments.soak.limits.maxSide = static_cast<int>(*number);
        } else if (name == "--max-soldiers" && (number = readNumber(value, 2, 60))) {
            arguments.soak.limits.maxSoldiers = static_cast<int>(*number);
        } else if (name == "--battle" && (number = readNumber(value, 0, 100000000))) {
            arguments.onlyBattle = static_cast<int>(*number);
        } else {
            return std::nullopt;
        }
    }
    return arguments;
}

void printBattle(int index, const BattlePlan& plan, const BattleResult& result, double seconds) {
    std::printf("battle %d: %s: %d dead, at most %zu bullets, %.1f s\n", index,
                describe(plan).c_str(), result.dead, result.mostBullets, seconds);
    if (!result.broken.empty()) {
        std::printf("  broken after step %d:\n", result.brokenAtStep);
        for (const std::string& line : result.broken) {
            std::printf("  %s\n", line.c_str());
        }
    }
    std::fflush(stdout);
}

int runOne(const Arguments& arguments) {
    const SoakOptions& soak = arguments.soak;
    const BattlePlan plan =
        planBattle(soak.seed, *arguments.onlyBattle, soak.stepsPerBattle, soak.limits);
    const auto start = std::chrono::steady_clock::now();
    const BattleResult result = runSoakBattle(plan);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    printBattle(*arguments.onlyBattle, plan, result, took.count());
    if (!result.broken.empty()) {
        std::printf("the map:\n%s", mapText(plan).c_str());
    }
    return result.broken.empty() ? 0 : 1;
}

int runAll(const Arguments& arguments) {
    const auto start = std::chrono::steady_clock::now();
    auto battleStart = start;
    const SoakSummary summary =
        runSoak(arguments.soak, [&](int index, const BattlePlan& plan, const BattleResult& r) {
            const auto now = std::chrono::steady_clock::now();
            printBattle(index, plan, r, std::chrono::duration<double>(now - battleStart).count());
            battleStart = now;
        });
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("soak: %d battles, %lld steps, %d soldiers dead, at most %zu bullets, %.0f s: %s\n",
                summary.battles, static_cast<long long>(summary.steps), summary.dead,
                summary.mostBullets, took.count(),
                summary.held ? "every rule held" : "a rule was broken");
    if (!summary.held) {
        const SoakOptions& soak = arguments.soak;
        std::printf(
            "replay the battle alone: dromlin-soak --seed %u --battle-steps %d "
            "--max-side %d --max-soldiers %d --battle %d\n",
            soak.seed, soak.stepsPerBattle, soak.limits.maxSide, soak.limits.maxSoldiers,
            summary.battles - 1);
    }
    return summary.held ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> arguments = parse(argc, argv);
    if (!arguments) {
        std::cerr << kUsage << '\n';
        return 2;
    }
    return arguments->onlyBattle ? runOne(*arguments) : runAll(*arguments);
}
