#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "PlayFixture.h"
#include "base/GameRandom.h"
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
    slot::kBaseTile,           slot::kObstacleTile,   slot::kEntityBlue,
    slot::kEntityRed,          slot::kEntitySelected, slot::kRedBanner,
    slot::kBlueBanner,         slot::kAllBanner,      slot::kFog,
    slot::kHealthBack,         slot::kHealthFill,     slot::kHealthBorder,
    slot::kHelpScreen,         slot::kHelpButton,     slot::kRedPath,
    slot::kBluePath,           slot::kEntityDead,     slot::kEntityTarget,
    slot::kEntityTargetEntity,
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

    // Tile (x, y) at zoom 1 covers pixels 128x .. 128x + 127 from the grid's corner.
    Rgb tileCentre(int x, int y) const {
        return colourAround(x * 128 + 64 + play->world->viewOffsetX,
                            y * 128 + 64 + play->world->viewOffsetY);
    }

    // Steps the battle as the game does, 16 ms of game time a step.
    void stepFor(int milliseconds) {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += kStepMs) {
            now += kStepMs;
            setSimulatedClock(now);
            play->update();
        }
    }

    static constexpr int kStepMs = 16;
    int now = 0;
};

// The whole screen as read back, rows top first.
std::vector<Rgb> screenPixels() {
    std::vector<unsigned char> rgba(static_cast<std::size_t>(screen::kWidth) * screen::kHeight * 4);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, screen::kWidth, screen::kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<Rgb> pixels(static_cast<std::size_t>(screen::kWidth) * screen::kHeight);
    for (int y = 0; y < screen::kHeight; ++y) {
        for (int x = 0; x < screen::kWidth; ++x) {
            const std::size_t from =
                (static_cast<std::size_t>(screen::kHeight - 1 - y) * screen::kWidth + x) * 4;
            pixels[static_cast<std::size_t>(y) * screen::kWidth + x] =
                Rgb{rgba[from], rgba[from + 1], rgba[from + 2]};
        }
    }
    return pixels;
}

// Blue soldiers and blue route squares, even under fog; nothing else on the field is blue.
bool isBlueish(Rgb c) {
    return c.b > 40 && c.b > c.r + 25 && c.b > c.g + 15;
}

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

// The ring, the health bar and the body are one picture wherever the body is on its way.
TEST_F(ScenePixelsTest, ringAndHealthBarLieOnTheWalkingSoldiersBody) {
    useWorld({"........",  //
              ".r......",  //
              "........",  //
              ".b......"});
    setViewMode(ViewMode::All);
    for (int i = 0; i < 2; ++i) {
        soldier(i).requestPath(6, 1 + 2 * i);
        soldier(i).state = EntityState::Move;
    }
    play->selection = {&soldier(0), &soldier(1)};
    int framesMidHop = 0;
    for (int step = 0; step < 200 && framesMidHop < 4; ++step) {
        stepFor(kStepMs);
        const Entity& walker = soldier(step % 2);
        if (walker.stepX == -1 || walker.moveProgress < 0.3 || walker.moveProgress > 0.7) {
            continue;
        }
        ++framesMidHop;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        play->draw();
        const DrawPoint place = walker.drawnPlace();
        const int left = static_cast<int>(place.x * 128 + play->world->viewOffsetX);
        const int top = static_cast<int>(place.y * 128 + play->world->viewOffsetY);
        ASSERT_GT(place.x - std::floor(place.x), 0.2) << "between tiles";
        EXPECT_PRED1(walker.team == Team::Red ? isRed : isBlue, colourAround(left + 64, top + 64));
        // The ring's band below the body, clear of the route; both ends of the full bar.
        EXPECT_GT(colourAround(left + 64, top + 116, 1).g, 150) << "step " << step;
        EXPECT_GT(colourAround(left + 22, top + 12, 1).g, 150) << "step " << step;
        EXPECT_GT(colourAround(left + 105, top + 12, 1).g, 150) << "step " << step;
    }
    EXPECT_EQ(framesMidHop, 4);
}

// After a long battle in the view of everything, the red view shows nothing blue on ground
// red does not see now (its fog at or above the remembered ground's one half).
TEST_F(ScenePixelsTest, redViewShowsNoBlueSoldierOrRouteOnDimGround) {
    std::string map1;
    {
        std::ifstream file(std::string(DROMLIN_ASSETS_DIR) + "/map1.txt");
        map1.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    play = makePlayState(manager, &map1);
    seedGameRand(3);
    setViewMode(ViewMode::All);
    const World& world = *play->world;
    // Until blue soldiers are alive where red does not see them.
    const auto bluesUnseen = [&world] {
        int count = 0;
        for (const Entity* entity : world.entities) {
            count += entity->team == Team::Blue && entity->health > 0 &&
                     world.redFog[int(entity->x)][int(entity->y)] >= 0.5;
        }
        return count;
    };
    stepFor(1000 * kStepMs);
    for (int steps = 1000; bluesUnseen() < 2 && steps < 4000; steps += 50) {
        stepFor(50 * kStepMs);
    }
    ASSERT_GE(bluesUnseen(), 2) << "the battle leaves no blue soldier where red does not see";
    setViewMode(ViewMode::Red);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    play->draw();
    const std::vector<Rgb> pixels = screenPixels();
    const double side = world.zoom * 128;
    for (int x = 0; x < world.columns; ++x) {
        for (int y = 0; y < world.rows; ++y) {
            if (world.redFog[x][y] < 0.5) {
                continue;
            }
            // The tile's inside, a pixel clear of its neighbours, below the banner.
            const int left = static_cast<int>(world.viewOffsetX + side * x) + 1;
            const int top = static_cast<int>(world.viewOffsetY + side * y) + 1;
            const int right =
                std::min(static_cast<int>(world.viewOffsetX + side * (x + 1)) - 1, screen::kWidth);
            const int bottom =
                std::min(static_cast<int>(world.viewOffsetY + side * (y + 1)) - 1, screen::kHeight);
            int blue = 0;
            for (int py = std::max(top, 64); py < bottom; ++py) {
                for (int px = std::max(left, 0); px < right; ++px) {
                    blue += isBlueish(pixels[static_cast<std::size_t>(py) * screen::kWidth + px]);
                }
            }
            EXPECT_EQ(blue, 0) << "tile (" << x << ", " << y << ")";
        }
    }
}

// Killed with g in the view of everything: the World drops it, its cross stays for 5 s.
TEST_F(ScenePixelsTest, crossOfASoldierKilledWithGStaysFiveSecondsAfterItIsDropped) {
    useWorld({"......",  //
              "..r...",  //
              "......"});
    setViewMode(ViewMode::All);
    play->selection = {&soldier(0)};
    soldier(0).health = 1;
    key('g');
    stepFor(2000);
    ASSERT_TRUE(play->world->entities.empty()) << "the World has dropped the fallen";
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    play->draw();
    EXPECT_PRED2(isDark, tileCentre(2, 1), 60);  // where the cross's arms meet
    EXPECT_PRED2(isFloor, tileCentre(4, 1), 1.0);
    stepFor(5000);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    play->draw();
    EXPECT_PRED2(isFloor, tileCentre(2, 1), 1.0);
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
