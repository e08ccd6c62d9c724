// dromlin-mapgen: prints a large generated battlefield for benchmarks and identity checks.
// Without a front gap each team starts near its own edge; with one, the two start zones face
// each other across that many open columns, so the fighting starts at once.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BattleMap.h"

namespace {

constexpr int kLargestSide = 4096;

bool readNumber(const char* text, int low, int high, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < low || parsed > high) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    BattleMapPlan plan;
    int seed = 1;
    const bool valid = argc >= 4 && argc <= 6 &&
                       readNumber(argv[1], 1, kLargestSide, plan.columns) &&
                       readNumber(argv[2], 1, kLargestSide, plan.rows) &&
                       readNumber(argv[3], 0, kLargestSide * kLargestSide, plan.soldiers) &&
                       (argc < 5 || readNumber(argv[4], 0, 1 << 30, seed)) &&
                       (argc < 6 || readNumber(argv[5], 0, kLargestSide, plan.frontGap));
    if (!valid) {
        std::fprintf(stderr, "usage: dromlin-mapgen COLUMNS ROWS SOLDIERS [SEED [FRONT_GAP]]\n");
        return 2;
    }
    plan.seed = static_cast<unsigned>(seed);
    const std::string text = battleMapText(plan);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
