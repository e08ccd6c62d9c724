#include "gfx/SpriteFont.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "gfx/ImageLoader.h"

namespace {

std::vector<std::string> requested;

// Pretends to load and spoils the nominal size, which the font must put right again.
bool fakeLoader(oglTexture2D& texture, const std::string& path, int width, int height) {
    requested.push_back(path + " " + std::to_string(width) + "x" + std::to_string(height));
    texture.width = 1;
    texture.height = 1;
    return true;
}

class SpriteFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        requested.clear();
        setImageLoader(fakeLoader);
    }
    void TearDown() override { setImageLoader(nullptr); }
};

TEST_F(SpriteFontTest, glyphSizeAndSpacingFollowTheFontSizeOverA1024By512Picture) {
    SpriteFont large;
    SpriteFont small;
    large.load(32, "fonts\\arialSpriteFontBlack.png");
    small.load(14, "fonts\\arialSpriteFontRed.png");
    EXPECT_EQ(large.glyphSize, 48);
    EXPECT_NEAR(large.spacing, 41.77, 1e-9);
    EXPECT_EQ(small.glyphSize, 21);
    EXPECT_NEAR(small.spacing, 52.57, 1e-9);
    EXPECT_EQ(requested, (std::vector<std::string>{"fonts\\arialSpriteFontBlack.png 1024x512",
                                                   "fonts\\arialSpriteFontRed.png 1024x512"}));
    ASSERT_NE(large.texture, nullptr);
    EXPECT_EQ(large.texture->width, 1024);
    EXPECT_EQ(large.texture->height, 512);
}

TEST_F(SpriteFontTest, hugeFontSizeIsHeldAtTheLargestGlyph) {
    SpriteFont font;
    font.load(4000000000u, "big.png");
    EXPECT_EQ(font.glyphSize, INT_MAX);
    EXPECT_TRUE(std::isfinite(font.spacing));
}

}  // namespace
