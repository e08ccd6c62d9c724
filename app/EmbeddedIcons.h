#pragma once

#include <cstddef>

// The packaged icon's PNG files, built into the desktop game (a generated source), so that
// the window has its icon wherever the game was started from and whatever files it found.
struct EmbeddedIcon {
    const unsigned char* bytes;
    std::size_t size;
};

extern const EmbeddedIcon kEmbeddedIcons[];
extern const std::size_t kEmbeddedIconCount;
