#include <GL/gl.h>
// Windows' gl.h stops at OpenGL 1.1, before GL_CLAMP_TO_EDGE.
#include <GL/glext.h>

#include <string>

#include "base/Problem.h"
#include "gfx/Picture.h"
#include "gfx/Texture.h"

bool oglTexture2D::upload(const std::string& path, const DecodedPicture* picture, int width,
                          int height, Edges edges) {
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
    // Left at GL's default, the desktop's edge pixels stay those of the recorded pictures.
    if (edges == Edges::Clamp) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    // Uploaded at the image's own size: nothing relies on power-of-two textures.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, imageWidth, imageHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 picture->rgba.data());
    return true;
}
