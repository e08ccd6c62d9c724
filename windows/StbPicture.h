#pragma once

#include <optional>
#include <string>

#include "gfx/Picture.h"

// Windows' decoder: stb_image, four channels. No DevIL is built for Windows; a test on the
// desktop holds it to the same bytes as DevIL for every picture the game ships.
std::optional<DecodedPicture> decodeWithStb(const std::string& path);
