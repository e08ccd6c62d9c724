#pragma once

#include <cmath>
#include <limits>

// A double as an int, truncated toward zero. Casting a double that no int can hold is
// undefined, so a wild value saturates at the nearest int end instead, and NaN becomes 0.
inline int saturatingInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}
