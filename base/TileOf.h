#pragma once

#include "base/SaturatingInt.h"

// The tile column or row that holds a position. A wild position maps to an int end (NaN to 0),
// and such a tile lies outside every grid.
inline int tileOf(double coordinate) {
    return saturatingInt(coordinate);
}
