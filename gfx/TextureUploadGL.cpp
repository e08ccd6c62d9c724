#include <GL/gl.h>

#include <string>

#include "gfx/Picture.h"
#include "gfx/Problem.h"
#include "gfx/Texture.h"

bool oglTexture2D::upload(const std::string& path, const DecodedPicture* picture, int width,
                          int height) {
    if (picture == nullptr || picture->width <= 0 || picture->height <= 0) {
        reportProblem("oglTexture2D::loadImage failed to load " + path);
        return false;
    }
    imageWidth = picture->width;
    imageHeight = picture->height;
    this->width = width;
    this->height = height;
    notePixels(picture->rgba.data());

    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Uploaded at the image's own size: nothing relies on power-of-two textures.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, imageWidth, imageHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 picture->rgba.data());
    return true;
}
