#include "BattleMap.h"

#include <cstdint>
#include <vector>

namespace {

// A wall segment per this many tiles of the left half.
constexpr int kTilesPerSegment = 24;
constexpr int kShortestSegment = 2;
constexpr int kLongestSegment = 6;
// Each team starts within this fraction of the map's width from its own edge.
constexpr int kStartZoneDivisor = 5;

// The map must not depend on the C library's generator, which the battle itself draws from.
class MapDice {
public:
    explicit MapDice(unsigned seed) : state_(seed * 2654435761u + 1u) {}
    int below(int n) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return n <= 0 ? 0 : static_cast<int>((state_ >> 33) % static_cast<uint64_t>(n));
    }

private:
    uint64_t state_;
};

class MapSketch {
public:
    MapSketch(int columns, int rows)
        : columns_(columns), rows_(rows), cells_(static_cast<std::size_t>(columns * rows), '.') {}

    char& at(int x, int y) { return cells_[static_cast<std::size_t>(y * columns_ + x)]; }
    bool contains(int x, int y) const { return x >= 0 && x < columns_ && y >= 0 && y < rows_; }
    int mirrored(int x) const { return columns_ - 1 - x; }

    std::string text() const {
        std::string out = std::to_string(columns_) + " " + std::to_string(rows_) + "\n";
        for (int y = 0; y < rows_; ++y) {
            out.append(cells_.begin() + y * columns_, cells_.begin() + (y + 1) * columns_);
            out += '\n';
        }
        return out;
    }

private:
    int columns_;
    int rows_;
    std::vector<char> cells_;
};

void addWalls(MapSketch& map, const BattleMapPlan& plan, MapDice& dice) {
    const int halfColumns = (plan.columns + 1) / 2;
    const int segments = halfColumns * plan.rows / kTilesPerSegment;
    for (int s = 0; s < segments; ++s) {
        const bool across = dice.below(2) == 0;
        const int length = kShortestSegment + dice.below(kLongestSegment - kShortestSegment + 1);
        int x = dice.below(halfColumns);
        int y = dice.below(plan.rows);
        for (int i = 0; i < length && map.contains(x, y) && x < halfColumns; ++i) {
            map.at(x, y) = 'o';
            map.at(map.mirrored(x), y) = 'o';
            (across ? x : y) += 1;
        }
    }
}

// The first column of red's start zone: at the left edge, or just short of the front.
int zoneStart(const BattleMapPlan& plan, int zone) {
    if (plan.frontGap < 0) {
        return 0;
    }
    const int start = plan.columns / 2 - plan.frontGap / 2 - zone;
    return start > 0 ? start : 0;
}

// Red on the left, blue on the mirrored tiles; a few tries per soldier to find open floor.
void addSoldiers(MapSketch& map, const BattleMapPlan& plan, MapDice& dice) {
    const int zone = plan.columns / kStartZoneDivisor > 0 ? plan.columns / kStartZoneDivisor : 1;
    const int first = zoneStart(plan, zone);
    const int pairs = plan.soldiers / 2;
    const int tries = pairs * 50;
    int placed = 0;
    for (int t = 0; t < tries && placed < pairs; ++t) {
        const int x = first + dice.below(zone);
        const int y = dice.below(plan.rows);
        const int mx = map.mirrored(x);
        if (mx <= x || map.at(x, y) != '.' || map.at(mx, y) != '.') {
            continue;
        }
        map.at(x, y) = 'r';
        map.at(mx, y) = 'b';
        ++placed;
    }
}

}  // namespace

std::string battleMapText(const BattleMapPlan& plan) {
    if (plan.columns <= 0 || plan.rows <= 0) {
        return "0 0\n";
    }
    MapSketch map(plan.columns, plan.rows);
    MapDice dice(plan.seed);
    addWalls(map, plan, dice);
    addSoldiers(map, plan, dice);
    return map.text();
}
