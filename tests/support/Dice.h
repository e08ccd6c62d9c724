#pragma once

#include <cstdint>
#include <random>

// Draws from mt19937 by plain modulo, so the cases are the same with every standard library.
class Dice {
public:
    explicit Dice(uint32_t seed) : engine_(seed) {}
    int below(int n) { return static_cast<int>(engine_() % static_cast<uint32_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::mt19937 engine_;
};
