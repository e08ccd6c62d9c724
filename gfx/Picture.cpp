#include "gfx/Picture.h"

#include <algorithm>

std::string platformPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
