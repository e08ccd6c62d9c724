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

// Decodes with `load` into a fresh DevIL image, which is released again whatever happens.
template <class Load>
std::optional<DecodedPicture> decodeInto(const Load& load) {
    ilInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::optional<DecodedPicture> picture;
    if (load() && ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
        picture = DecodedPicture{ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT), {}};
        const auto* const data = static_cast<const unsigned char*>(ilGetData());
        const std::size_t bytes = static_cast<std::size_t>(picture->width) * picture->height * 4;
        picture->rgba.assign(data, data + bytes);
    }
    releaseImage(image);
    return picture;
}

}  // namespace

std::optional<DecodedPicture> decodeWithDevIL(const std::string& path) {
    return decodeInto([&] { return ilLoadImage(path.c_str()); });
}

std::optional<DecodedPicture> decodeWithDevIL(const unsigned char* bytes, std::size_t size) {
    return decodeInto([&] { return ilLoadL(IL_PNG, bytes, static_cast<ILuint>(size)); });
}

bool oglTexture2D::loadImage(const std::string& path, int width, int height) {
    const std::optional<DecodedPicture> picture = decodeWithDevIL(platformPath(path));
    return upload(path, picture ? &*picture : nullptr, width, height);
}
