#include "gfx/Sprite.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "GlWindow.h"
#include "gfx/Texture.h"

namespace {

constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kGreen{0, 255, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};
constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kBlack{0, 0, 0, 255};

// Colour channels only: the window has no alpha to read back.
testing::AssertionResult shows(const Rgba& pixel, const Rgba& colour) {
    if (std::abs(pixel.r - colour.r) <= 2 && std::abs(pixel.g - colour.g) <= 2 &&
        std::abs(pixel.b - colour.b) <= 2) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "pixel is (" << int{pixel.r} << ", " << int{pixel.g}
                                       << ", " << int{pixel.b} << "), expected (" << int{colour.r}
                                       << ", " << int{colour.g} << ", " << int{colour.b} << ")";
}

bool isLit(const Rgba& pixel) {
    return pixel.r > 127;
}

class SpriteDrawTest : public GlTest {
protected:
    void TearDown() override { setSpriteRecorder(nullptr); }

    oglTexture2D picture(int width, int height, const std::vector<Rgba>& pixels) {
        oglTexture2D texture;
        const std::string path = scratch.file("picture.png");
        EXPECT_TRUE(writePng(path, width, height, pixels));
        EXPECT_TRUE(texture.loadImage(path, width, height));
        return texture;
    }

    oglTexture2D plain(Rgba colour) { return picture(1, 1, {colour}); }

    ScratchFolder scratch;
};

TEST_F(SpriteDrawTest, pictureShowsUprightAndUnmirrored) {
    const oglTexture2D quarters = picture(2, 2, {kRed, kGreen, kBlue, kWhite});
    drawSprite(&quarters, 200, 200, 100, 100);
    EXPECT_TRUE(shows(pixelAt(150, 150), kRed));
    EXPECT_TRUE(shows(pixelAt(250, 150), kGreen));
    EXPECT_TRUE(shows(pixelAt(150, 250), kBlue));
    EXPECT_TRUE(shows(pixelAt(250, 250), kWhite));
    EXPECT_TRUE(shows(pixelAt(99, 150), kBlack));
    EXPECT_TRUE(shows(pixelAt(300, 150), kBlack));
}

TEST_F(SpriteDrawTest, fadedSpriteScalesColourAndOpacityTogether) {
    const oglTexture2D white = plain(kWhite);
    const oglTexture2D black = plain(kBlack);
    drawSpriteFaded(&white, 0.5, 50.0, 50.0, 0.0, 0.0);
    clearScreen(1.0f);
    drawSpriteFaded(&black, 0.5, 50.0, 50.0, 0.0, 0.0);
    const Rgba overWhite = pixelAt(25, 25);
    clearScreen(0.0f);
    drawSpriteFaded(&white, 0.5, 50.0, 50.0, 0.0, 0.0);
    const Rgba overBlack = pixelAt(25, 25);

    // Darkened to half and let through at half: a quarter of its brightness over black.
    EXPECT_NEAR(overBlack.r, 64, 2);
    EXPECT_NEAR(overWhite.r, 128, 2);
    GLfloat colour[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[1], 1.0f);
    EXPECT_EQ(colour[2], 1.0f);
    EXPECT_EQ(colour[3], 1.0f);
}

TEST_F(SpriteDrawTest, fadedSpriteEdgesAreTruncatedEachOnItsOwn) {
    const oglTexture2D white = plain(kWhite);
    drawSpriteFaded(&white, 1.0, 20.6, 5.9, 10.7, 40.2);
    EXPECT_FALSE(isLit(pixelAt(9, 42)));
    EXPECT_TRUE(isLit(pixelAt(10, 42)));
    EXPECT_TRUE(isLit(pixelAt(30, 42)));  // 10.7 + 20.6 = 31.3: the right edge is 31, not 30
    EXPECT_FALSE(isLit(pixelAt(31, 42)));
    EXPECT_FALSE(isLit(pixelAt(20, 39)));
    EXPECT_TRUE(isLit(pixelAt(20, 40)));
    EXPECT_TRUE(isLit(pixelAt(20, 45)));  // 40.2 + 5.9 = 46.1
    EXPECT_FALSE(isLit(pixelAt(20, 46)));
}

TEST_F(SpriteDrawTest, textureThatFailedToLoadDrawsAsAWhiteRectangle) {
    const oglTexture2D red = plain(kRed);
    const oglTexture2D failed;
    drawSprite(&red, 10, 10, 0, 0);
    drawSprite(&failed, 10, 10, 20, 0);
    drawSprite(nullptr, 10, 10, 40, 0);
    EXPECT_TRUE(shows(pixelAt(25, 5), kWhite));
    EXPECT_TRUE(shows(pixelAt(45, 5), kWhite));
}

TEST_F(SpriteDrawTest, spriteOfZeroWidthOrHeightShowsNothing) {
    const oglTexture2D white = plain(kWhite);
    drawSprite(&white, 0, 30, 10, 10);
    drawSprite(&white, 30, 0, 10, 10);
    for (int along = 8; along < 42; along += 3) {
        EXPECT_FALSE(isLit(pixelAt(along, 10))) << "column " << along;
        EXPECT_FALSE(isLit(pixelAt(10, along))) << "row " << along;
    }
}

TEST_F(SpriteDrawTest, recorderKeepsTheTruncatedRectanglesAndNothingIsDrawn) {
    const oglTexture2D white = plain(kWhite);
    std::vector<SpriteCall> calls;
    setSpriteRecorder(&calls);
    drawSprite(&white, 30, 20, 5, 6);
    drawSpriteFaded(&white, 0.25, 20.6, 5.9, -10.7, 40.2);
    setSpriteRecorder(nullptr);

    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].texture, &white);
    EXPECT_FALSE(calls[0].faded);
    EXPECT_EQ(calls[0].intensity, 1.0);
    EXPECT_EQ((std::vector<int>{calls[0].left, calls[0].top, calls[0].right, calls[0].bottom}),
              (std::vector<int>{5, 6, 35, 26}));
    EXPECT_TRUE(calls[1].faded);
    EXPECT_EQ(calls[1].intensity, 0.25);
    EXPECT_EQ((std::vector<int>{calls[1].left, calls[1].top, calls[1].right, calls[1].bottom}),
              (std::vector<int>{-10, 40, 9, 46}));
    EXPECT_FALSE(isLit(pixelAt(10, 10)));
}

// The fog's layer draws its black picture without the texture; the pixels must be exactly
// those of each cell drawn on its own, textured, over a background of many colours.
TEST_F(SpriteDrawTest, fadedLayerOfABlackPictureLeavesExactlyThePixelsOfItsSprites) {
    const oglTexture2D background = picture(2, 2, {kRed, kGreen, kBlue, kWhite});
    const oglTexture2D black = plain(kBlack);
    ASSERT_TRUE(black.black);
    const CellGrid grid{{0, 33, 70, 101, 140}, {0, 41, 80}};
    const std::vector<double> intensities{0.1, 0.25, 0.5, 0.5, 0.7, 0.75, 0.9, 1.0};
    const auto screen = [] {
        std::vector<Rgba> pixels;
        for (int y = 1; y < 80; y += 6) {
            for (int x = 1; x < 140; x += 6) {
                pixels.push_back(pixelAt(x, y));
            }
        }
        return pixels;
    };

    drawSprite(&background, 140, 80, 0, 0);
    drawFadedLayer(grid, &black, intensities);
    const std::vector<Rgba> layered = screen();
    clearScreen(0.0f);
    drawSprite(&background, 140, 80, 0, 0);
    for (int x = 0; x < grid.columns(); ++x) {
        for (int y = 0; y < grid.rows(); ++y) {
            drawSpriteFaded(&black, intensities[static_cast<std::size_t>(x) * grid.rows() + y],
                            grid.left[x + 1] - grid.left[x], grid.top[y + 1] - grid.top[y],
                            grid.left[x], grid.top[y]);
        }
    }
    const std::vector<Rgba> oneByOne = screen();
    ASSERT_EQ(layered.size(), oneByOne.size());
    for (std::size_t i = 0; i < layered.size(); ++i) {
        EXPECT_TRUE(layered[i].r == oneByOne[i].r && layered[i].g == oneByOne[i].g &&
                    layered[i].b == oneByOne[i].b)
            << "sample " << i << ": " << shows(layered[i], oneByOne[i]).message();
    }
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

// Two tile layers over each other stay apart in the record: batched together per picture,
// the lower layer's green would end over the upper layer's red.
TEST_F(SpriteDrawTest, aRecordedFrameKeepsItsLayersApartAndDrawsTheVeryPixelsOfItsDrawing) {
    const oglTexture2D background = picture(2, 2, {kRed, kGreen, kBlue, kWhite});
    const oglTexture2D red = plain(kRed);
    const oglTexture2D green = plain(kGreen);
    const CellGrid grid{{10, 60}, {10, 60, 110}};
    const auto scene = [&] {
        drawSprite(&background, 200, 200, 0, 0);
        drawTileLayer(grid, {&red, &green});
        drawTileLayer(grid, {nullptr, nullptr});
        drawTileLayer(grid, {nullptr, &red});
        drawFadedLayer(grid, &green, {0.5, 0.0});
        drawSpriteFaded(&red, 0.5, 30, 30, 150, 150);
    };
    const auto screen = [] {
        std::vector<Rgba> pixels;
        for (int y = 1; y < 200; y += 7) {
            for (int x = 1; x < 200; x += 7) {
                pixels.push_back(pixelAt(x, y));
            }
        }
        return pixels;
    };
    scene();
    const std::vector<Rgba> drawn = screen();
    EXPECT_TRUE(shows(pixelAt(30, 80), kRed));

    SpriteFrame frame;
    setFrameRecorder(&frame);
    scene();
    setFrameRecorder(nullptr);
    using Part = SpriteFrame::Part;
    EXPECT_EQ(frame.runs, (std::vector<SpriteFrame::Run>{{Part::Sprites, 1},
                                                         {Part::TileLayer, 2},
                                                         {Part::TileLayer, 1},
                                                         {Part::FadedLayer, 1},
                                                         {Part::Sprites, 1}}));
    clearScreen(0.0f);
    drawRecordedFrame(frame);
    const std::vector<Rgba> replayed = screen();
    ASSERT_EQ(drawn.size(), replayed.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_TRUE(drawn[i].r == replayed[i].r && drawn[i].g == replayed[i].g &&
                    drawn[i].b == replayed[i].b)
            << "sample " << i << ": " << shows(replayed[i], drawn[i]).message();
    }

    // A frame not made by the recorder, its runs not those of its calls, draws what it holds:
    // the faded run takes the five calls left, drawn faded in the picture of its first one.
    frame.runs = {{Part::TileLayer, 1}, {Part::FadedLayer, 99}, {Part::Sprites, 5}};
    clearScreen(0.0f);
    drawRecordedFrame(frame);
    EXPECT_TRUE(shows(pixelAt(30, 80), kRed));
    EXPECT_TRUE(shows(pixelAt(150, 50), kGreen));
}

// Opaque black fog over a screen cleared to black changes nothing and is left out; recorded
// for a screen cleared otherwise it is kept, since there it blackens the screen.
TEST_F(SpriteDrawTest, aFrameIsRecordedForTheScreenItIsClearedTo) {
    const oglTexture2D black = plain(kBlack);
    const CellGrid grid{{0, 50, 100}, {0, 50}};
    const std::vector<double> fog{1.0, 1.0};
    const auto fogCalls = [&](bool clearedBlack) {
        SpriteFrame frame;
        frame.clearedBlack = clearedBlack;
        setFrameRecorder(&frame);
        Cover cover;
        cover.fog = grid;
        cover.fogPicture = &black;
        cover.fogIntensities = fog;
        beginCover(cover);
        drawFadedLayer(grid, &black, fog);
        endCover();
        setFrameRecorder(nullptr);
        return frame.calls.size();
    };
    EXPECT_EQ(fogCalls(true), 0u);
    EXPECT_EQ(fogCalls(false), 2u);

    EXPECT_TRUE(clearedScreenIsBlack());
    glClearColor(0.5f, 0.0f, 0.0f, 1.0f);
    EXPECT_FALSE(clearedScreenIsBlack());
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

TEST_F(SpriteDrawTest, toPixelTruncatesTowardZeroAndSendsTheUnusableFarOffScreen) {
    EXPECT_EQ(toPixel(2.9), 2);
    EXPECT_EQ(toPixel(-2.9), -2);
    EXPECT_EQ(toPixel(-0.5), 0);
    EXPECT_EQ(toPixel(999999.9), 999999);
    EXPECT_EQ(toPixel(1e300), 1000000);
    EXPECT_EQ(toPixel(-1e300), -1000000);
    EXPECT_EQ(toPixel(std::numeric_limits<double>::infinity()), 1000000);
    EXPECT_EQ(toPixel(-std::numeric_limits<double>::infinity()), -1000000);
    EXPECT_EQ(toPixel(std::nan("")), -1000000);
}

TEST_F(SpriteDrawTest, extremeArgumentsStayOffScreenWithoutOverflow) {
    const oglTexture2D white = plain(kWhite);
    std::vector<SpriteCall> calls;
    setSpriteRecorder(&calls);
    drawSprite(&white, INT_MAX, INT_MAX, INT_MAX, INT_MIN);
    drawSpriteFaded(&white, std::nan(""), 1e308, -1e308, 1e308, std::nan(""));
    setSpriteRecorder(nullptr);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].right, 1000000);
    EXPECT_EQ(calls[0].top, -1000000);

    // Drawn for real: a NaN intensity shows nothing, a huge white sprite covers the screen.
    drawSpriteFaded(&white, std::nan(""), 1e308, 1e308, -1e308, -1e308);
    EXPECT_FALSE(isLit(pixelAt(512, 384)));
    drawSprite(&white, INT_MAX, INT_MAX, -10000000, -10000000);
    EXPECT_TRUE(isLit(pixelAt(512, 384)));
}

}  // namespace
