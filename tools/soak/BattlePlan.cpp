#include "BattlePlan.h"

#include <algorithm>
#include <random>
#include <sstream>
#include <vector>

namespace {

constexpr int kMinSide = 5;
constexpr int kMaxSide = 128;
constexpr int kMinSoldiers = 2;
constexpr int kMaxSoldiers = 60;
constexpr int kMaxWallPercent = 40;
constexpr int kViewModes = 3;

int drawBetween(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

}  // namespace

BattlePlan planBattle(unsigned soakSeed, int index, int steps, const PlanLimits& limits) {
    std::seed_seq seeds{soakSeed, static_cast<unsigned>(index)};
    std::mt19937 random(seeds);
    const int largest = std::clamp(limits.maxSide, kMinSide, kMaxSide);
    const int most = std::clamp(limits.maxSoldiers, kMinSoldiers, kMaxSoldiers);
    BattlePlan plan;
    plan.seed = static_cast<unsigned>(random());
    plan.width = drawBetween(random, kMinSide, largest);
    plan.height = drawBetween(random, kMinSide, largest);
    plan.wallPercent = drawBetween(random, 0, kMaxWallPercent);
    plan.soldiers = drawBetween(random, kMinSoldiers, most);
    plan.view = index % kViewModes;
    plan.steps = steps;
    return plan;
}

std::string mapText(const BattlePlan& plan) {
    std::mt19937 random(plan.seed);
    const int width = std::clamp(plan.width, 1, kMaxSide);
    const int height = std::clamp(plan.height, 1, kMaxSide);
    std::vector<std::string> rows(static_cast<std::size_t>(height), std::string(width, '.'));
    std::vector<std::pair<int, int>> open;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (drawBetween(random, 0, 99) < plan.wallPercent) {
                rows[y][x] = 'o';
            } else {
                open.emplace_back(x, y);
            }
        }
    }
    std::shuffle(open.begin(), open.end(), random);
    const int soldiers = std::min(plan.soldiers, static_cast<int>(open.size()));
    for (int i = 0; i < soldiers; ++i) {
        const auto [x, y] = open[static_cast<std::size_t>(i)];
        rows[y][x] = i % 2 == 0 ? 'r' : 'b';
    }
    std::ostringstream text;
    text << width << ' ' << height << '\n';
    for (const std::string& row : rows) {
        text << row << '\n';
    }
    return text.str();
}

std::string describe(const BattlePlan& plan) {
    std::ostringstream line;
    line << "seed " << plan.seed << ", " << plan.width << " x " << plan.height << ", "
         << plan.wallPercent << "% walls, " << plan.soldiers << " soldiers, view " << plan.view
         << ", " << plan.steps << " steps";
    return line.str();
}
