#pragma once

#include <cmath>
#include <limits>

// The tile column or row that holds a position (truncation toward zero). A position that no
// int can hold maps to the nearest int end, and NaN to 0, so a wild position cannot make the
// conversion undefined; such a tile lies outside every grid.
inline int tileOf(double coordinate) {
    if (std::isnan(coordinate)) {
        return 0;
    }
    if (coordinate <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    if (coordinate >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(coordinate);
}
