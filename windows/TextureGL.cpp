#include <optional>
#include <string>

#include "gfx/Texture.h"
#include "windows/StbPicture.h"

// Windows' form of the picture loader: stb_image decodes what DevIL decodes on the desktop.
bool oglTexture2D::loadImage(const std::string& path, int width, int height) {
    const std::optional<DecodedPicture> picture = decodeWithStb(platformPath(path));
    return upload(path, picture ? &*picture : nullptr, width, height);
}
