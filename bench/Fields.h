#pragma once

#include <string>

// The battlefields the benchmarks fight on: the shipped map and two generated large ones, on
// which the two armies start facing each other across the middle, so that they fight from the
// first frames on instead of spending the measured frames exploring.
struct Field {
    const char* name;
    int columns;  // 0 for the shipped map
    int rows;
    int soldiers;
    int frontGap;
};

constexpr Field kShippedMap{"map1", 0, 0, 0, 0};
constexpr Field kBattle128{"battle128", 128, 128, 100, 16};
constexpr Field kBattle256{"battle256", 256, 256, 400, 16};

// The map file of the field: the shipped one, or the generated one written to a file in the
// temporary folder (the same map every time).
std::string mapFileOf(const Field& field);
