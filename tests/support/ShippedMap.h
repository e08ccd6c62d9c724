#pragma once

#include <fstream>
#include <sstream>
#include <string>

// The game's own battlefield as text, as a server sends it to its players.
inline std::string shippedMapText() {
    std::ifstream in(DROMLIN_ASSETS_DIR "/map1.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
