#include <GL/freeglut.h>

#include <ostream>
#include <string>
#include <vector>

#include "PlayFixture.h"
#include "gfx/Screen.h"
#include "gfx/Texture.h"
#include "gfx/TextureSlots.h"
#include "play/ZOL_HelpScreen.h"
#include "support/GlTestWindow.h"

// The real pictures drawn into a real window (run under an X server such as Xvfb) and read
// back. Software renderers filter linearly, so the checks compare dominant colours, not
// exact values.
namespace {

struct Rgb {
    int r, g, b;
};

// The pictures these scenes show, loaded from the assets folder as the catalogue loads them.
constexpr int kPictureSlots[] = {
    slot::BaseTile,   slot::ObstacleTile, slot::EntityBlue, slot::EntityRed,  slot::EntitySelected,
    slot::RedBanner,  slot::BlueBanner,   slot::AllBanner,  slot::Fog,        slot::HealthBack,
    slot::HealthFill, slot::HealthBorder, slot::HelpScreen, slot::HelpButton,
};

bool loadPictures() {
    for (const int slot : kPictureSlots) {
        const ResourceCatalogue::TextureSource source = ResourceCatalogue::textureSource(slot);
        const std::string path = std::string(DROMLIN_ASSETS_DIR) + "/" + source.file;
        if (!ResourceCatalogue::instance()->texture(slot)->loadImage(path, source.width,
                                                                     source.height)) {
            return false;
        }
    }
    return true;
}

bool windowReady() {
    static const bool ready = createTestWindow("dromlin play tests") && loadPictures();
    return ready;
}

// The mean colour of the (2 half + 1)-pixel square around a screen pixel, so that no single
// filtered texel decides.
Rgb colourAround(int x, int y, int half = 2) {
    const int side = 2 * half + 1;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(side * side * 4));
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Read-back rows count from the bottom; the game's y grows downwards.
    glReadPixels(x - half, screen::kHeight - 1 - (y + half), side, side, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba.data());
    Rgb sum{0, 0, 0};
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        sum.r += rgba[i];
        sum.g += rgba[i + 1];
        sum.b += rgba[i + 2];
    }
    const int count = side * side;
    return Rgb{sum.r / count, sum.g / count, sum.b / count};
}

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "rgb(" << c.r << ", " << c.g << ", " << c.b << ")";
}

bool isRed(Rgb c) {
    return c.r > 90 && c.r > 2 * c.g && c.r > 2 * c.b;
}
bool isBlue(Rgb c) {
    return c.b > 90 && c.b > c.r + 60 && c.b > c.g + 40;
}
bool isGold(Rgb c) {
    return c.r > 180 && c.g > 140 && c.b < 130;
}
bool isDark(Rgb c, int limit) {
    return c.r < limit && c.g < limit && c.b < limit;
}
// The olive open floor, lit to the given share of its full brightness.
bool isFloor(Rgb c, double share) {
    return c.g > 66 * share && c.g < 154 * share && c.r > c.b && c.g > c.b;
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
    EXPECT_PRED1(isRed, tileCentre(1, 1));
    EXPECT_PRED1(isBlue, tileCentre(6, 2));
    EXPECT_PRED2(isDark, tileCentre(4, 1), 70);
    EXPECT_PRED2(isDark, tileCentre(4, 3), 70);
    EXPECT_PRED2(isFloor, tileCentre(2, 4), 1.0);
    EXPECT_PRED1(isGold, colourAround(600, 61));   // the banner's lower edge
    EXPECT_PRED1(isGold, colourAround(939, 30));   // the help button's question mark
    EXPECT_PRED2(isFloor, tileCentre(2, 5), 1.0);  // no fog in this view
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
    EXPECT_PRED1(isRed, colourAround(600, 61));
    // At zoom 0.2 the whole field is 205 x 154 pixels: red sees all of it.
    EXPECT_PRED2(isFloor, colourAround(5 * 25 + 12, 5 * 25 + 12), 1.0);
    // With no red soldier left on the field, red sees nothing and only remembers.
    world.zoom = 1.0;
    world.redKnownTiles.fill(0);
    world.redKnownTiles[7][2] = TileKind::BaseTile;
    world.entities.erase(world.entities.begin());
    play->world->computeFogs();
    play->draw();
    EXPECT_PRED2(isFloor, tileCentre(7, 2), 0.5);
    EXPECT_PRED2(isDark, tileCentre(3, 3), 8);
    EXPECT_PRED2(isDark, tileCentre(6, 5), 8);  // the blue soldier is hidden too
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
    EXPECT_PRED2(isFloor, colourAround(512, 384), 1.0);
    ZOL_HelpScreen help(1, &manager);
    help.draw();
    EXPECT_PRED1(isGold, colourAround(113, 300, 0));  // its gold frame, 3 pixels wide
    EXPECT_PRED2(isDark, colourAround(312, 311), 60);
    EXPECT_PRED2(isFloor, colourAround(60, 700), 1.0);  // the battle around it stays
}

}  // namespace
