#include "windows/StbPicture.h"

#include <cstddef>
#include <memory>

// The game ships PNGs only.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

namespace {

struct StbDeleter {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

std::optional<DecodedPicture> decodeWithStb(const std::string& path) {
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, StbDeleter> pixels(
        stbi_load(path.c_str(), &width, &height, &channels, STBI_rgb_alpha));
    if (pixels == nullptr || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    const std::size_t bytes = static_cast<std::size_t>(width) * height * STBI_rgb_alpha;
    DecodedPicture picture{width, height, {}};
    picture.rgba.assign(pixels.get(), pixels.get() + bytes);
    return picture;
}
