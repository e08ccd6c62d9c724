#include <GL/gl.h>
#include <emscripten.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "gfx/Picture.h"
#include "gfx/Problem.h"
#include "gfx/Texture.h"

// The browser's form of the picture loader: the page's preload step has already decoded
// every picture of the data package with the browser's own image decoder, so loading only
// fetches the RGBA pixels it kept and uploads them, as the desktop does with DevIL's.

namespace {

struct FreeDeleter {
    void operator()(char* pixels) const { std::free(pixels); }
};

}  // namespace

bool oglTexture2D::loadImage(const std::string& path, int width, int height) {
    int decodedWidth = 0;
    int decodedHeight = 0;
    const std::unique_ptr<char, FreeDeleter> pixels(emscripten_get_preloaded_image_data(
        platformPath(path).c_str(), &decodedWidth, &decodedHeight));
    if (pixels == nullptr || decodedWidth <= 0 || decodedHeight <= 0) {
        reportProblem("oglTexture2D::loadImage failed to load " + path);
        return false;
    }
    imageWidth = decodedWidth;
    imageHeight = decodedHeight;
    this->width = width;
    this->height = height;
    notePixels(reinterpret_cast<const unsigned char*>(pixels.get()));

    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // WebGL 1 samples a picture whose sides are not powers of two (the help picture) as black
    // unless it is clamped; every sprite spans its texture once, so clamping changes nothing.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, imageWidth, imageHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.get());
    return true;
}
