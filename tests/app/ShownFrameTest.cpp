#include "app/ShownFrame.h"

#include <gtest/gtest.h>

#include "gfx/SpriteParts.h"
#include "gfx/Texture.h"

namespace {

// A frame of two sprites: a soldier at `x` on a floor tile faded to `shade`.
struct Scene {
    oglTexture2D floor;
    oglTexture2D soldier;
    int x = 100;
    double shade = 1.0;

    void draw() const {
        drawSpriteFaded(&floor, shade, 64, 64, 0, 0);
        drawSprite(&soldier, 32, 32, x, 16);
    }
};

TEST(ShownFrame, aFrameIsDrawnOnlyWhenItsSpritesDifferFromThoseOnTheScreen) {
    Scene scene;
    ShownFrame shown;
    const auto frame = [&] { return shown.needsDrawing([&] { scene.draw(); }); };
    EXPECT_TRUE(frame()) << "the first frame";
    EXPECT_FALSE(frame());
    EXPECT_FALSE(isRecordingSprites()) << "the frame judged, real drawing is back";

    scene.x = 101;
    EXPECT_TRUE(frame()) << "a soldier moved by a pixel";
    EXPECT_FALSE(frame());
    scene.shade = 0.5;
    EXPECT_TRUE(frame()) << "a tile dimmed";
    scene.shade = 1.0;
    scene.x = 100;
    EXPECT_TRUE(frame()) << "back to an older picture, not the one on the screen";
    EXPECT_FALSE(frame());
}

TEST(ShownFrame, aLostScreenIsDrawnAgainUnchanged) {
    Scene scene;
    ShownFrame shown;
    const auto frame = [&] { return shown.needsDrawing([&] { scene.draw(); }); };
    ASSERT_TRUE(frame());
    ASSERT_FALSE(frame());
    shown.lose();
    EXPECT_TRUE(frame()) << "after an expose";
    EXPECT_FALSE(frame());
}

TEST(ShownFrame, whatMovesWhollyOffTheScreenLeavesThePictureAsItIs) {
    Scene scene;
    ShownFrame shown;
    const auto frame = [&] { return shown.needsDrawing([&] { scene.draw(); }); };
    ASSERT_TRUE(frame());
    scene.x = 2000;
    EXPECT_TRUE(frame()) << "the soldier left the screen";
    scene.x = 3000;
    EXPECT_FALSE(frame()) << "and moved on beyond it";
}

}  // namespace
