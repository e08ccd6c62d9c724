#pragma once

#include <cstdio>

#include "base/Problem.h"
#include "gfx/ResourceCatalogue.h"

// What every fuzz target does once before its first input: the catalogue is made (its creation
// seeds the generator, which each input then seeds its own way), and problem lines go nowhere,
// since the targets are refused input thousands of times a second.
inline void startQuietly() {
    ResourceCatalogue::instance();
    static std::FILE* const nowhere = std::fopen("/dev/null", "w");
    if (nowhere != nullptr) {
        setProblemSink(nowhere);
    }
}
