#include <GL/gl.h>
#include <IL/il.h>

#include <algorithm>
#include <iostream>
#include <string>

#include "gfx/Texture.h"

namespace {

// The game names its font pictures with a backslash between folder and file; DevIL wants
// the platform's separator.
std::string toPlatformPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

void report(const std::string& message) {
    std::cout << message << std::endl;
}

// Neither a failed nor a finished load may leave errors behind for the next one to trip on.
void discardErrors() {
    while (ilGetError() != IL_NO_ERROR) {
    }
}

void releaseImage(ILuint image) {
    ilDeleteImages(1, &image);
    discardErrors();
}

}  // namespace

bool oglTexture2D::loadImage(const std::string& path, int width, int height) {
    ilInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);

    const std::string platformPath = toPlatformPath(path);
    if (!ilLoadImage(platformPath.c_str())) {
        report("oglTexture2D::loadImage failed to load " + path);
        releaseImage(image);
        return false;
    }

    imageWidth = ilGetInteger(IL_IMAGE_WIDTH);
    imageHeight = ilGetInteger(IL_IMAGE_HEIGHT);
    this->width = width;
    this->height = height;

    if (!ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
        report(std::string("oglTexture2D::loadImage unable to convert image") +
               " into display friendly format.");
        releaseImage(image);
        return false;
    }

    notePixels(static_cast<const unsigned char*>(ilGetData()));

    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Uploaded at the image's own size: nothing relies on power-of-two textures.
    glTexImage2D(GL_TEXTURE_2D, 0, ilGetInteger(IL_IMAGE_BPP), imageWidth, imageHeight, 0,
                 static_cast<GLenum>(ilGetInteger(IL_IMAGE_FORMAT)), GL_UNSIGNED_BYTE, ilGetData());

    releaseImage(image);
    return true;
}
