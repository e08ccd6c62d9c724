#pragma once

#include <string>

class oglTexture2D;

// Loading a picture needs DevIL and a GL context, which only the game has. The game installs
// its loader before the resource catalogue is first created; without one (the simulation,
// tests and tools) textures are created as empty records and nothing is read from disk.
using ImageLoader = bool (*)(oglTexture2D& texture, const std::string& path, int width, int height);

void setImageLoader(ImageLoader loader);

// Whether pictures are read at all; without a loader none is missing, none is read.
bool hasImageLoader();

// Loads through the installed loader; returns false, silently, when none is installed.
bool loadPicture(oglTexture2D& texture, const std::string& path, int width, int height);
