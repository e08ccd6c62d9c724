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
    texture.textureId = 7;
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

TEST_F(SpriteFontTest, glyphSizeAndSpacingFollowTheFontSize) {
    const struct {
        unsigned int size;
        int glyphSize;
        double spacing;
    } cases[] = {
        {32, 48, 41.77}, {24, 36, 46.57}, {14, 21, 52.57}, {12, 18, 53.77}, {64, 96, 22.57}};
    for (const auto& c : cases) {
        SpriteFont font;
        EXPECT_TRUE(font.load(c.size, "fonts\\arialSpriteFontBlack.png"));
        EXPECT_EQ(font.glyphSize, c.glyphSize) << "size " << c.size;
        EXPECT_NEAR(font.spacing, c.spacing, 1e-9) << "size " << c.size;
        EXPECT_EQ(font.layoutValue, 30);
    }
}

TEST_F(SpriteFontTest, pictureIsAskedForByItsPathAtItsNominalSize) {
    SpriteFont font;
    font.load(16, "fonts\\digitalSpriteFontBlack.png");
    EXPECT_EQ(requested, (std::vector<std::string>{"fonts\\digitalSpriteFontBlack.png 1024x512"}));
    ASSERT_NE(font.texture, nullptr);
    EXPECT_EQ(font.texture->width, 1024);
    EXPECT_EQ(font.texture->height, 512);
}

TEST_F(SpriteFontTest, withoutALoaderTheFontGetsAnEmptyTexture) {
    setImageLoader(nullptr);
    SpriteFont font;
    EXPECT_FALSE(font.load(32, "fonts\\arialSpriteFontBlack.png"));
    ASSERT_NE(font.texture, nullptr);
    EXPECT_EQ(font.texture->textureId, 0u);
    EXPECT_EQ(font.texture->width, 1024);
    EXPECT_EQ(font.glyphSize, 48);
}

TEST_F(SpriteFontTest, hugeFontSizeIsHeldAtTheLargestGlyph) {
    SpriteFont font;
    font.load(4000000000u, "big.png");
    EXPECT_EQ(font.glyphSize, INT_MAX);
    EXPECT_TRUE(std::isfinite(font.spacing));
}

}  // namespace
