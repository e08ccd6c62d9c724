// Windows decodes the pictures with stb_image, the desktop with DevIL: both must give the game
// the same pixels, so the same battle looks the same everywhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "gfx/Picture.h"
#include "windows/StbPicture.h"

namespace {

TEST(PictureDecoders, stbImageAndDevILGiveTheSameBytesForEveryShippedPicture) {
    int pictures = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DROMLIN_ASSETS_DIR)) {
        if (entry.path().extension() != ".png") {
            continue;
        }
        const std::string path = entry.path().string();
        const std::optional<DecodedPicture> devil = decodeWithDevIL(path);
        const std::optional<DecodedPicture> stb = decodeWithStb(path);
        ASSERT_TRUE(devil && stb) << path;
        EXPECT_EQ(stb->width, devil->width) << path;
        EXPECT_EQ(stb->height, devil->height) << path;
        EXPECT_TRUE(stb->rgba == devil->rgba) << path << ": the pixels differ";
        ++pictures;
    }
    EXPECT_GE(pictures, 40);
}

}  // namespace
