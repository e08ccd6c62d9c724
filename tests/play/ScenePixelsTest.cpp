#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "PlayFixture.h"
#include "app/RenderState.h"
#include "gfx/Texture.h"
#include "gfx/TextureSlots.h"
#include "play/ZOL_HelpScreen.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

// The real pictures drawn into a real window (run under an X server such as Xvfb) and read
// back. Software renderers filter linearly, so the checks compare dominant colours, not
// exact values.
namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

struct Rgb {
    int r, g, b;
};

struct PictureFile {
    int slot;
    const char* file;
    int width, height;
};

constexpr PictureFile kPictures[] = {
    {slot::BaseTile, "baseTile.png", 128, 128},
    {slot::ObstacleTile, "obstacle.png", 128, 128},
    {slot::EntityBlue, "entityBlue.png", 128, 128},
    {slot::EntityRed, "entityRed.png", 128, 128},
    {slot::EntitySelected, "entitySelected.png", 128, 128},
    {slot::RedBanner, "zolRedActive.png", 1024, 64},
    {slot::BlueBanner, "zolBlueActive.png", 1024, 64},
    {slot::AllBanner, "zolGodActive.png", 1024, 64},
    {slot::Fog, "zolFog.png", 128, 128},
    {slot::HealthBack, "redPixel.png", 1, 1},
    {slot::HealthFill, "greenPixel.png", 1, 1},
    {slot::HealthBorder, "zolHealthBorder.png", 128, 128},
    {slot::HelpScreen, "zolHelpScreen.png", 800, 446},
    {slot::HelpButton, "helpButton.png", 150, 100},
};

bool openWindow() {
    if (std::getenv("DISPLAY") == nullptr) {
        return false;
    }
#if defined(__SANITIZE_ADDRESS__)
    // The GL driver keeps its allocations until exit and unloads its code before the leak
    // check, which can then neither name nor suppress them: this process goes unchecked.
    __lsan_disable();
#endif
    static char name[] = "dromlin_play_tests";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    // Off the screen, clear of the windows that the window tests photograph.
    glutInitWindowPosition(4000, 4000);
    glutInitWindowSize(kScreenWidth, kScreenHeight);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("dromlin play tests");
    setFixedRenderState();
    for (const PictureFile& picture : kPictures) {
        const std::string path = std::string(DROMLIN_ASSETS_DIR) + "/" + picture.file;
        if (!ResourceCatalogue::instance()
                 ->texture(picture.slot)
                 ->loadImage(path, picture.width, picture.height)) {
            return false;
        }
    }
    return true;
}

bool windowReady() {
    static const bool ready = openWindow();
    return ready;
}

// The mean colour of a small square around a screen pixel, so one filtered texel decides
// nothing.
Rgb colourAround(int x, int y, int half = 2) {
    constexpr int kMaxSide = 9;
    const int side = std::min(2 * half + 1, kMaxSide);
    const int halfSide = side / 2;
    unsigned char rgba[kMaxSide * kMaxSide * 4] = {};
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Read-back rows count from the bottom; the game's y grows downwards.
    glReadPixels(x - halfSide, kScreenHeight - 1 - (y + halfSide), side, side, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba);
    Rgb sum{0, 0, 0};
    const int count = side * side;
    for (int i = 0; i < count; ++i) {
        sum.r += rgba[4 * i];
        sum.g += rgba[4 * i + 1];
        sum.b += rgba[4 * i + 2];
    }
    return Rgb{sum.r / count, sum.g / count, sum.b / count};
}

::testing::AssertionResult isRed(Rgb c) {
    if (c.r > 90 && c.r > 2 * c.g && c.r > 2 * c.b) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "not red: " << c.r << " " << c.g << " " << c.b;
}
::testing::AssertionResult isBlue(Rgb c) {
    if (c.b > 90 && c.b > c.r + 60 && c.b > c.g + 40) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "not blue: " << c.r << " " << c.g << " " << c.b;
}
::testing::AssertionResult isGold(Rgb c) {
    if (c.r > 180 && c.g > 140 && c.b < 130) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "not gold: " << c.r << " " << c.g << " " << c.b;
}
// The olive open floor, lit to the given share of its full brightness.
::testing::AssertionResult isFloor(Rgb c, double share) {
    const double green = 110 * share;
    if (c.g > 0.6 * green && c.g < 1.4 * green && c.r > c.b && c.g > c.b) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "not floor at " << share << ": " << c.r << " " << c.g << " " << c.b;
}
::testing::AssertionResult isDark(Rgb c, int limit) {
    if (c.r < limit && c.g < limit && c.b < limit) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "not dark: " << c.r << " " << c.g << " " << c.b;
}

class ScenePixelsTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        ASSERT_TRUE(windowReady()) << "these tests draw: run them under an X server (xvfb-run) "
                                      "with the pictures in "
                                   << DROMLIN_ASSETS_DIR;
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // Tile (x, y) at zoom 1 covers pixels 128x .. 128x + 127.
    static Rgb tileCentre(int x, int y) { return colourAround(x * 128 + 64, y * 128 + 64); }
};

TEST_F(ScenePixelsTest, allTeamsViewShowsFloorWallsSoldiersBannerAndButton) {
    useWorld({"........",  //
              ".r..o...",  //
              "......b.",  //
              "....o...",  //
              "........",  //
              "........"});
    setViewMode(ViewMode::All);
    play->draw();
    EXPECT_TRUE(isRed(tileCentre(1, 1)));
    EXPECT_TRUE(isBlue(tileCentre(6, 2)));
    EXPECT_TRUE(isDark(tileCentre(4, 1), 70));
    EXPECT_TRUE(isDark(tileCentre(4, 3), 70));
    EXPECT_TRUE(isFloor(tileCentre(2, 4), 1.0));
    EXPECT_TRUE(isGold(colourAround(600, 61)));   // the banner's lower edge
    EXPECT_TRUE(isGold(colourAround(939, 30)));   // the help button's question mark
    EXPECT_TRUE(isFloor(tileCentre(2, 5), 1.0));  // no fog in this view
}

TEST_F(ScenePixelsTest, redViewHidesWhatRedHasNotDiscovered) {
    World& world = useWorld({"........",  //
                             ".r......",  //
                             "........",  //
                             "........",  //
                             "........",  //
                             "......b."});
    world.zoom = 0.2;
    play->draw();
    EXPECT_TRUE(isRed(colourAround(600, 61)));
    // At zoom 0.2 the whole field is 205 x 154 pixels: red sees all of it.
    EXPECT_TRUE(isFloor(colourAround(5 * 25 + 12, 5 * 25 + 12), 1.0));
    // With no red soldier left on the field, red sees nothing and only remembers.
    world.zoom = 1.0;
    world.redKnownTiles.fill(0);
    world.redKnownTiles[7][2] = TileKind::BaseTile;
    world.entities.erase(world.entities.begin());
    play->draw();
    EXPECT_TRUE(isFloor(tileCentre(7, 2), 0.5));
    EXPECT_TRUE(isDark(tileCentre(3, 3), 8));
    EXPECT_TRUE(isDark(tileCentre(6, 5), 8));  // the blue soldier is hidden too
}

TEST_F(ScenePixelsTest, helpPictureCoversTheMiddleOfTheBattle) {
    useWorld({"........",  //
              "........",  //
              "........",  //
              "........",  //
              "........",  //
              "........"});
    setViewMode(ViewMode::All);
    play->draw();
    EXPECT_TRUE(isFloor(colourAround(512, 384), 1.0));
    ZOL_HelpScreen help(1, &manager);
    help.draw();
    EXPECT_TRUE(isGold(colourAround(113, 300, 0)));  // its gold frame, 3 pixels wide
    EXPECT_TRUE(isDark(colourAround(312, 311), 60));
    EXPECT_TRUE(isFloor(colourAround(60, 700), 1.0));  // the battle around it stays
}

}  // namespace
