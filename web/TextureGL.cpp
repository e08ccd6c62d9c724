#include <emscripten.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Picture.h"
#include "gfx/Texture.h"

// The browser's form of the picture loader: the page's preload step has already decoded
// every picture of the data package with the browser's own image decoder, so loading only
// fetches the RGBA pixels it kept and uploads them as the desktop uploads DevIL's.

namespace {

struct FreeDeleter {
    void operator()(char* pixels) const { std::free(pixels); }
};

std::optional<DecodedPicture> preloadedPicture(const std::string& path) {
    int width = 0;
    int height = 0;
    const std::unique_ptr<char, FreeDeleter> pixels(
        emscripten_get_preloaded_image_data(path.c_str(), &width, &height));
    if (pixels == nullptr || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    const auto* const rgba = reinterpret_cast<const unsigned char*>(pixels.get());
    const std::size_t bytes = static_cast<std::size_t>(width) * height * 4;
    return DecodedPicture{width, height, std::vector<unsigned char>(rgba, rgba + bytes)};
}

}  // namespace

bool oglTexture2D::loadImage(const std::string& path, int width, int height) {
    const std::optional<DecodedPicture> picture = preloadedPicture(platformPath(path));
    return upload(path, picture ? &*picture : nullptr, width, height, Edges::Clamp);
}
