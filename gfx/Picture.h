#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A picture file decoded into RGBA bytes, four to a pixel, row by row from the file's first
// row. Each platform has its own decoder; all of them must give the same bytes.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
};

// The game names its font pictures with a backslash between folder and file; decoders want
// slashes, which every platform accepts.
std::string platformPath(std::string path);

// The desktop's decoder, DevIL; defined with the desktop's loader in gfx/TextureGL.cpp.
std::optional<DecodedPicture> decodeWithDevIL(const std::string& path);
// The same for a picture file's bytes held in memory.
std::optional<DecodedPicture> decodeWithDevIL(const unsigned char* bytes, std::size_t size);
