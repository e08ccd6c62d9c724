#include <IL/il.h>

#include <cstddef>
#include <optional>
#include <string>

#include "gfx/Picture.h"
#include "gfx/Texture.h"

namespace {

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

std::optional<DecodedPicture> decodeWithDevIL(const std::string& path) {
    ilInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::optional<DecodedPicture> picture;
    if (ilLoadImage(path.c_str()) && ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
        picture = DecodedPicture{ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT), {}};
        const auto* const data = static_cast<const unsigned char*>(ilGetData());
        const std::size_t bytes = static_cast<std::size_t>(picture->width) * picture->height * 4;
        picture->rgba.assign(data, data + bytes);
    }
    releaseImage(image);
    return picture;
}

bool oglTexture2D::loadImage(const std::string& path, int width, int height) {
    const std::optional<DecodedPicture> picture = decodeWithDevIL(platformPath(path));
    return upload(path, picture ? &*picture : nullptr, width, height);
}
