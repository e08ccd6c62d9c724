#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "PlayFixture.h"
#include "gfx/TextureSlots.h"
#include "world/Bullet.h"

namespace {

class SceneDrawTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        setSpriteRecorder(&calls);
    }

    // Draws one frame with the World's camera as it stands (no update in between).
    const std::vector<SpriteCall>& drawFrame() {
        calls.clear();
        play->draw();
        return calls;
    }

    std::vector<SpriteCall> callsOf(int slot) const {
        std::vector<SpriteCall> found;
        for (const SpriteCall& call : calls) {
            if (call.texture == cataloguePicture(slot)) {
                found.push_back(call);
            }
        }
        return found;
    }

    std::size_t indexOf(int slot) const {
        std::size_t i = 0;
        while (i < calls.size() && calls[i].texture != cataloguePicture(slot)) {
            ++i;
        }
        return i;
    }

    // The intensity of the fog quad whose top-left corner is at the given pixel; -1 for none.
    double fogAt(int left, int top) const {
        for (const SpriteCall& call : calls) {
            if (call.texture == cataloguePicture(slot::kFog) && call.left == left &&
                call.top == top) {
                return call.intensity;
            }
        }
        return -1.0;
    }

    std::vector<SpriteCall> calls;
};

std::string layerOf(const oglTexture2D* texture) {
    struct Layer {
        const char* name;
        std::vector<int> slots;
    };
    static const Layer layers[] = {
        {"tiles", {slot::kBaseTile, slot::kObstacleTile, slot::kNullTile}},
        {"bullets", {slot::kBulletYellow, slot::kBulletOrange, slot::kBulletShotgun}},
        {"aim", {slot::kEntityTargetEntity}},
        {"selected", {slot::kEntitySelected}},
        {"entities",
         {slot::kEntityRed, slot::kEntityBlue, slot::kEntityDead, slot::kHealthBack,
          slot::kHealthFill, slot::kHealthBorder, slot::kRedPath, slot::kBluePath}},
        {"fog", {slot::kFog}},
        {"destination", {slot::kEntityTarget}},
        {"rectangle", {slot::kSelectionLine}},
        {"banner", {slot::kRedBanner, slot::kBlueBanner, slot::kAllBanner}},
        {"button", {slot::kHelpButton}},
    };
    for (const Layer& layer : layers) {
        for (int slot : layer.slots) {
            if (cataloguePicture(slot) == texture) {
                return layer.name;
            }
        }
    }
    return "unknown";
}

std::vector<std::string> layersInOrder(const std::vector<SpriteCall>& calls) {
    std::vector<std::string> layers;
    for (const SpriteCall& call : calls) {
        const std::string layer = layerOf(call.texture);
        if (layers.empty() || layers.back() != layer) {
            layers.push_back(layer);
        }
    }
    return layers;
}

bool isRect(const SpriteCall& call, int left, int top, int right, int bottom) {
    return call.left == left && call.top == top && call.right == right && call.bottom == bottom;
}

TEST_F(SceneDrawTest, layersAreDrawnBottomToTopInTheFixedOrder) {
    World& world = useWorld({"r...",  //
                             "...b"});
    world.redKnownTiles[2][0] = TileKind::Obstacle;  // red remembers a wall that is gone
    auto bullet = std::make_unique<Bullet>();
    bullet->texture = ResourceCatalogue::instance()->texture(slot::kBulletYellow);
    world.addBullet(std::move(bullet));
    soldier(0).target = &soldier(1);
    soldier(0).requestPath(2, 1);
    play->selection = {&soldier(0)};
    press(mouse::kLeft, 10, 10);
    play->mouseMotion(200, 200);

    drawFrame();
    EXPECT_EQ(layersInOrder(calls),
              (std::vector<std::string>{"tiles", "bullets", "aim", "selected", "entities", "fog",
                                        "destination", "rectangle", "banner", "button"}));
    // The known tiles follow the true ones and cover them where red's memory differs.
    // Red has discovered all eight tiles; its fifth remembered one, column by column, is (2, 0).
    ASSERT_GT(calls.size(), 12u);
    EXPECT_EQ(calls[12].texture, cataloguePicture(slot::kObstacleTile));
    EXPECT_TRUE(isRect(calls[12], 256, 0, 384, 128));
    EXPECT_TRUE(isRect(calls.back(), 924, 5, 999, 55));
    EXPECT_TRUE(isRect(calls[calls.size() - 2], 0, 0, 1024, 64));
}

// Tiles, remembered tiles and fog cells leave no seam between neighbours at any zoom.
TEST_F(SceneDrawTest, gridCellsMeetTheirNeighboursAtEveryZoom) {
    World& world = useWorld({"r.o.o",  //
                             "....."});
    world.viewOffsetX = 3;
    world.viewOffsetY = 7;
    for (const double zoom : {0.175, 0.2, 0.375, 1.0 / 1.05, 1.0}) {
        world.zoom = zoom;
        drawFrame();
        for (const int slot : {slot::kBaseTile, slot::kObstacleTile, slot::kFog}) {
            const std::vector<SpriteCall> cells = callsOf(slot);
            for (const SpriteCall& cell : cells) {
                for (const SpriteCall& other : callsOf(slot::kFog)) {
                    if (other.top == cell.top && other.left > cell.left &&
                        other.left < cell.right + 5) {
                        EXPECT_EQ(other.left, cell.right) << "zoom " << zoom;
                    }
                    if (other.left == cell.left && other.top > cell.top &&
                        other.top < cell.bottom + 5) {
                        EXPECT_EQ(other.top, cell.bottom) << "zoom " << zoom;
                    }
                }
            }
        }
    }
}

TEST_F(SceneDrawTest, fogIsOpaqueUndiscoveredHalvedWhenRememberedClearInSightAndAbsentInAll) {
    World& world = useWorld({"........................................",  //
                             "r......................................."});
    world.redKnownTiles[35][0] = TileKind::BaseTile;  // seen earlier, out of sight now
    drawFrame();
    // A fog cell with no alpha changes no pixel, so it is not drawn: every other cell is.
    std::size_t foggedCells = 0;
    for (int x = 0; x < 40; ++x) {
        for (int y = 0; y < 2; ++y) {
            foggedCells += world.redFog[x][y] > 0.0 ? 1 : 0;
        }
    }
    EXPECT_LT(foggedCells, 80u);
    ASSERT_EQ(callsOf(slot::kFog).size(), foggedCells);
    EXPECT_EQ(fogAt(39 * 128, 128), 1.0);
    EXPECT_EQ(fogAt(35 * 128, 0), 0.5);
    EXPECT_EQ(world.redFog[0][1], 0.0);
    EXPECT_EQ(fogAt(0, 128), -1.0);  // clear: not drawn
    EXPECT_GT(fogAt(5 * 128, 128), 0.0);
    EXPECT_LT(fogAt(5 * 128, 128), 0.5);
    // Discovered and lit, yet dimmer than half: shown like a remembered tile.
    EXPECT_EQ(fogAt(11 * 128, 128), 0.5);
    // Lit but beyond the discovery distance: the fog shows as it is.
    EXPECT_GT(fogAt(15 * 128, 128), 0.5);
    EXPECT_LT(fogAt(15 * 128, 128), 1.0);

    // The view of everything draws neither fog nor memories, yet discovery goes on.
    setViewMode(ViewMode::All);
    world.redKnownTiles.fill(0);
    play->update();
    drawFrame();
    EXPECT_TRUE(callsOf(slot::kFog).empty());
    EXPECT_EQ(callsOf(slot::kBaseTile).size(), 80u);
    EXPECT_EQ(world.redKnownTiles[5][1], TileKind::BaseTile);
}

TEST_F(SceneDrawTest, healthBarShrinksAndDarkensWithHealthWithTruncatedCorners) {
    useWorld({"...",  //
              "..r"});
    setViewMode(ViewMode::All);
    soldier(0).health = 50;
    drawFrame();
    ASSERT_EQ(callsOf(slot::kHealthBack).size(), 1u);
    const SpriteCall back = callsOf(slot::kHealthBack).front();
    const SpriteCall fill = callsOf(slot::kHealthFill).front();
    EXPECT_TRUE(isRect(back, 275, 136, 319, 144));  // 44.5 x 8 at the tile corner + (19, 8)
    EXPECT_TRUE(isRect(fill, 275, 136, 319, 144));
    EXPECT_EQ(back.intensity, 1.0);
    EXPECT_EQ(fill.intensity, 0.5);
    EXPECT_TRUE(isRect(callsOf(slot::kHealthBorder).front(), 256, 128, 384, 256));

    soldier(0).health = 100;
    drawFrame();
    EXPECT_TRUE(isRect(callsOf(slot::kHealthFill).front(), 275, 136, 364, 144));
    EXPECT_EQ(callsOf(slot::kHealthFill).front().intensity, 1.0);

    // Each corner is truncated on its own: left 128 + 9.5, width 26.7, so the right edge is
    // 164 (from 164.2), not 137 + 26.
    play->world->zoom = 0.5;
    soldier(0).health = 60;
    drawFrame();
    EXPECT_TRUE(isRect(callsOf(slot::kHealthFill).front(), 137, 68, 164, 72));
}

TEST_F(SceneDrawTest, deadSoldiersComeFirstWithTheirMarkAndNoHealthBar) {
    useWorld({"r.b"});
    setViewMode(ViewMode::All);
    soldier(1).kill();
    drawFrame();
    ASSERT_EQ(callsOf(slot::kEntityDead).size(), 1u);
    EXPECT_TRUE(isRect(callsOf(slot::kEntityDead).front(), 256, 0, 384, 128));
    EXPECT_EQ(callsOf(slot::kHealthBack).size(), 1u);
    EXPECT_LT(indexOf(slot::kEntityDead), indexOf(slot::kEntityRed));
}

TEST_F(SceneDrawTest, bodySlidesAlongTheHopWithItsMarksAndStandsOnItsTileWithoutPath) {
    useWorld({".r..",  //
              "r..."});
    setViewMode(ViewMode::All);
    Entity& walker = soldier(0);
    walker.requestPath(3, 0);
    ASSERT_NE(walker.path->advance(), nullptr);  // now at waypoint (2, 0)
    walker.x = 2.0;
    walker.stepX = 1;
    walker.stepY = 0;
    soldier(1).target = &walker;
    play->selection = {&walker, &soldier(1)};
    const double progress[] = {0.0, 0.25, 1.0};
    const int left[] = {128, 160, 256};
    for (int i = 0; i < 3; ++i) {
        walker.moveProgress = progress[i];
        drawFrame();
        // Body, ring, bar frame and the brackets of the soldier after it: one square.
        for (const int slot : {slot::kEntityRed, slot::kEntitySelected, slot::kHealthBorder,
                               slot::kEntityTargetEntity}) {
            ASSERT_FALSE(callsOf(slot).empty());
            EXPECT_TRUE(isRect(callsOf(slot).front(), left[i], 0, left[i] + 128, 128))
                << "slot " << slot << ", progress " << progress[i];
        }
        EXPECT_EQ(callsOf(slot::kHealthBack).front().left, left[i] + 19);
    }
    // The route and the destination keep their tiles.
    EXPECT_EQ(callsOf(slot::kRedPath).size(), 3u);
    EXPECT_TRUE(isRect(callsOf(slot::kEntityTarget).front(), 384, 0, 512, 128));

    // Halted mid-hop with its Path gone, it stands on its own tile.
    play->world->clearPaths();
    drawFrame();
    EXPECT_TRUE(isRect(callsOf(slot::kEntityRed).front(), 256, 0, 384, 128));
    EXPECT_TRUE(isRect(callsOf(slot::kHealthBorder).front(), 256, 0, 384, 128));
}

// In red's view the blue team shows only on ground red sees now: its fog below one half.
TEST_F(SceneDrawTest, otherTeamShowsOnlyOnGroundTheViewedTeamSeesNow) {
    World& world = useWorld({"r.b.b..",  //
                             "......."});
    Entity& seen = soldier(1);
    Entity& unseen = soldier(2);
    seen.requestPath(6, 1);
    unseen.requestPath(6, 0);
    soldier(0).target = &unseen;
    play->selection = {&soldier(0), &seen, &unseen};  // chosen in the all-teams view
    // Red sees the first four columns now, remembers the rest.
    world.redFog.fill(0.0);
    for (int x = 4; x < 7; ++x) {
        world.redFog[x][0] = world.redFog[x][1] = x == 4 ? 0.5 : 1.0;
        world.redKnownTiles[x][0] = world.redKnownTiles[x][1] = TileKind::BaseTile;
    }
    const auto lefts = [this](int slot) {
        std::vector<int> found;
        for (const SpriteCall& call : callsOf(slot)) {
            found.push_back(call.left / 128);
        }
        return found;
    };
    drawFrame();
    EXPECT_EQ(lefts(slot::kEntityBlue), std::vector<int>{2});
    EXPECT_EQ(lefts(slot::kHealthBorder), (std::vector<int>{0, 2}));
    EXPECT_EQ(lefts(slot::kEntitySelected), (std::vector<int>{0, 2}));
    EXPECT_EQ(lefts(slot::kBluePath), (std::vector<int>{2, 3}));  // the seen one's, on seen tiles
    EXPECT_TRUE(callsOf(slot::kEntityTarget).empty());            // both flags stand in the fog
    EXPECT_TRUE(callsOf(slot::kEntityTargetEntity).empty());      // red's target is out of sight

    // Between a seen and a remembered tile the body would show half in the fog: it is hidden.
    ASSERT_NE(seen.path->advance(), nullptr);
    seen.x = 3.0;
    seen.stepX = 2;
    seen.stepY = 0;
    seen.moveProgress = 0.5;
    world.redFog[3][0] = 0.5;
    drawFrame();
    EXPECT_TRUE(callsOf(slot::kEntityBlue).empty());

    // The view of everything shows both, with their routes, flags and the brackets.
    setViewMode(ViewMode::All);
    drawFrame();
    EXPECT_EQ(callsOf(slot::kEntityBlue).size(), 2u);
    EXPECT_EQ(callsOf(slot::kEntityTarget).size(), 2u);
    EXPECT_EQ(callsOf(slot::kEntityTargetEntity).size(), 1u);
}

// The World drops the dead within a step; the drawing keeps their picture 5 s of game time.
TEST_F(SceneDrawTest, fallenStayDrawnFiveSecondsAfterTheyDieAndOnlyWhereTheViewSeesThem) {
    World& world = useWorld({"r.b.o.b"});
    world.cameraX = 4.0;  // the steps keep the grid's corner at the screen's
    world.cameraY = 3.0;
    setViewMode(ViewMode::All);
    setSimulatedClock(1000);
    soldier(1).kill();
    soldier(2).kill();
    play->update();
    play->update();
    ASSERT_EQ(world.entities.size(), 1u);
    setSimulatedClock(6000);
    drawFrame();
    EXPECT_EQ(callsOf(slot::kEntityDead).size(), 2u);
    EXPECT_EQ(callsOf(slot::kEntityBlue).size(), 2u);
    // In red's view only the one on ground red sees; the other lies behind the wall.
    setViewMode(ViewMode::Red);
    world.computeFogs();
    drawFrame();
    ASSERT_EQ(callsOf(slot::kEntityDead).size(), 1u);
    EXPECT_TRUE(isRect(callsOf(slot::kEntityDead).front(), 256, 0, 384, 128));
    setSimulatedClock(6001);
    drawFrame();
    EXPECT_TRUE(callsOf(slot::kEntityDead).empty());
}

TEST_F(SceneDrawTest, bulletsAreDrawnAtTheirSizeFromTheirCorner) {
    World& world = useWorld({".....",  //
                             "....."});
    world.zoom = 0.2;
    const int kinds[] = {0, 1, 2};
    for (int kind : kinds) {
        auto bullet = std::make_unique<Bullet>();
        bullet->kind = kind;
        bullet->texture = ResourceCatalogue::instance()->texture(slot::kBulletOrange);
        bullet->x = 1.5;
        bullet->y = 0.5;
        world.addBullet(std::move(bullet));
    }
    drawFrame();
    const std::vector<SpriteCall> drawn = callsOf(slot::kBulletOrange);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_TRUE(isRect(drawn[0], 38, 12, 47, 21));  // 9 x 9 at (38.4, 12.8)
    EXPECT_TRUE(isRect(drawn[1], 38, 12, 42, 16));  // a pellet: 4 x 4
    EXPECT_TRUE(isRect(drawn[2], 38, 12, 47, 21));
}

TEST_F(SceneDrawTest, markersOnlyForLivingSelectedSoldiers) {
    useWorld({"rrb."});
    setViewMode(ViewMode::All);
    soldier(0).requestPath(3, 0);
    soldier(0).target = &soldier(2);
    soldier(1).requestPath(3, 0);
    soldier(1).target = &soldier(2);
    soldier(1).health = 0;
    play->selection = {&soldier(0), &soldier(1)};
    drawFrame();
    ASSERT_EQ(callsOf(slot::kEntitySelected).size(), 1u);
    EXPECT_TRUE(isRect(callsOf(slot::kEntitySelected).front(), 0, 0, 128, 128));
    ASSERT_EQ(callsOf(slot::kEntityTargetEntity).size(), 1u);
    EXPECT_TRUE(isRect(callsOf(slot::kEntityTargetEntity).front(), 256, 0, 384, 128));
    ASSERT_EQ(callsOf(slot::kEntityTarget).size(), 1u);
    EXPECT_TRUE(isRect(callsOf(slot::kEntityTarget).front(), 384, 0, 512, 128));

    soldier(0).goalX = -1.0;
    soldier(0).goalY = -1.0;
    drawFrame();
    EXPECT_TRUE(callsOf(slot::kEntityTarget).empty());
}

TEST_F(SceneDrawTest, selectionRectangleRunsFromTheSmallerCornerWhileDragging) {
    drawFrame();
    EXPECT_TRUE(callsOf(slot::kSelectionLine).empty());
    press(mouse::kLeft, 300, 200);
    play->mouseMotion(100, 400);
    drawFrame();
    const std::vector<SpriteCall> lines = callsOf(slot::kSelectionLine);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(isRect(lines[0], 100, 200, 300, 202));  // top
    EXPECT_TRUE(isRect(lines[1], 300, 200, 302, 400));  // right
    EXPECT_TRUE(isRect(lines[2], 100, 400, 300, 402));  // bottom
    EXPECT_TRUE(isRect(lines[3], 100, 200, 102, 400));  // left
    release(mouse::kLeft, 100, 400);
    drawFrame();
    EXPECT_TRUE(callsOf(slot::kSelectionLine).empty());
}

// Run in the sanitizer build: no zoom, camera or pointer may make drawing undefined.
TEST_F(SceneDrawTest, extremeCameraZoomAndPointerDrawWithoutUndefinedBehaviour) {
    World& world = useWorld({"r.o.",  //
                             "nb.r"});
    soldier(0).requestPath(3, 0);
    soldier(0).stepX = 0;
    soldier(0).stepY = 0;
    soldier(0).target = &soldier(1);
    play->selection = {&soldier(0), &soldier(1)};
    auto bullet = std::make_unique<Bullet>();
    bullet->texture = ResourceCatalogue::instance()->texture(slot::kBulletYellow);
    bullet->x = 1e300;
    world.addBullet(std::move(bullet));
    press(mouse::kLeft, INT_MIN, INT_MAX);
    play->mouseMotion(INT_MAX, INT_MIN);
    const double zooms[] = {0.175, 1.0, 1e9, 1e300, std::numeric_limits<double>::infinity()};
    const int offsets[] = {INT_MIN, -1000000, 0, 1000000, INT_MAX};
    for (int view = 0; view < 3; ++view) {
        setViewMode(view);
        for (double zoom : zooms) {
            for (int i = 0; i < 5; ++i) {
                world.zoom = zoom;
                world.viewOffsetX = offsets[i];
                world.viewOffsetY = offsets[4 - i];
                EXPECT_FALSE(drawFrame().empty());
            }
        }
    }
}

}  // namespace
