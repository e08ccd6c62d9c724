#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An RGBA colour as the picture stores it.
struct Rgba {
    uint8_t r, g, b, a;
};

// Writes an uncompressed RGBA PNG, rows top first, without going through DevIL, so that what
// the loader reads back is known independently of it.
bool writePng(const std::string& path, int width, int height, const std::vector<Rgba>& pixels);

// A width x height picture of one colour.
bool writePlainPng(const std::string& path, int width, int height, Rgba colour);
