#include "play/ZOL_MainState.h"

#include <algorithm>
#include <cmath>

#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Screen.h"
#include "gfx/Sprite.h"
#include "gfx/TextureSlots.h"
#include "play/HelpButton.h"
#include "world/World.h"

namespace {

constexpr char kMapFile[] = "map1.txt";
constexpr double kStartZoom = 0.2;
constexpr int kSelectionLineWidth = 2;
constexpr int kBannerWidth = screen::kWidth;
constexpr int kBannerHeight = 64;

int bannerSlot(int viewMode) {
    switch (viewMode) {
        case ViewMode::Red:
            return slot::RedBanner;
        case ViewMode::Blue:
            return slot::BlueBanner;
        case ViewMode::All:
            return slot::AllBanner;
        default:
            return -1;
    }
}

bool isMarked(const Entity* entity) {
    return entity != nullptr && entity->health > 0;
}

void drawOnTile(const ZOL_MainState& play, int slot, double x, double y) {
    const int side = toPixel(play.drawTileSize * play.drawZoom);
    drawSprite(cataloguePicture(slot), side, side,
               toPixel(play.drawZoom * (play.drawTileSize * std::trunc(x)) + play.drawOffsetX),
               toPixel(play.drawZoom * (play.drawTileSize * std::trunc(y)) + play.drawOffsetY));
}

void drawAimMarkers(const ZOL_MainState& play) {
    for (const Entity* entity : play.selection) {
        if (isMarked(entity)) {
            entity->drawTargetMarker(play.drawTileSize, play.drawZoom, play.drawOffsetX,
                                     play.drawOffsetY);
        }
    }
}

void drawSelectionMarkers(const ZOL_MainState& play) {
    for (const Entity* entity : play.selection) {
        if (isMarked(entity)) {
            drawOnTile(play, slot::EntitySelected, entity->x, entity->y);
        }
    }
}

void drawDestinationMarkers(const ZOL_MainState& play) {
    for (const Entity* entity : play.selection) {
        if (isMarked(entity) && std::trunc(entity->goalX) != -1.0) {
            drawOnTile(play, slot::EntityTarget, entity->goalX, entity->goalY);
        }
    }
}

// The lines lie inside the box on the top and left and outside it on the right and bottom.
void drawSelectionRectangle(const ZOL_MainState& play) {
    if (!play.dragging) {
        return;
    }
    const int minX = std::min(play.dragStartX, play.cursorX);
    const int maxX = std::max(play.dragStartX, play.cursorX);
    const int minY = std::min(play.dragStartY, play.cursorY);
    const int maxY = std::max(play.dragStartY, play.cursorY);
    // Pointer positions far outside the window must not overflow the subtraction.
    const int width = toPixel(double(maxX) - minX);
    const int height = toPixel(double(maxY) - minY);
    const oglTexture2D* line = cataloguePicture(slot::SelectionLine);
    drawSprite(line, width, kSelectionLineWidth, minX, minY);
    drawSprite(line, kSelectionLineWidth, height, maxX, minY);
    drawSprite(line, width, kSelectionLineWidth, minX, maxY);
    drawSprite(line, kSelectionLineWidth, height, minX, minY);
}

void drawBanner() {
    const int slot = bannerSlot(ResourceCatalogue::instance()->viewMode);
    if (slot >= 0) {
        drawSprite(cataloguePicture(slot), kBannerWidth, kBannerHeight, 0, 0);
    }
}

}  // namespace

ZOL_MainState::ZOL_MainState(int id, GameStateManager* manager) : GameState(id, manager) {
    ResourceCatalogue::instance()->viewMode = ViewMode::Red;
    world = std::make_unique<World>();
    // A map that cannot be read has already said so; the battle goes on with the World as
    // it was built.
    mapLoaded = world->loadMap(kMapFile);
    world->commandedTeams = commandedTeamsInView(ViewMode::Red);
    world->zoom = kStartZoom;
    world->computeFogs();
    dragStartX = -1;
    dragStartY = -1;
    selection.clear();
    cursorX = 0;
    cursorY = 0;
}

ZOL_MainState::~ZOL_MainState() = default;

bool ZOL_MainState::update() {
    world->step();
    ++battleSteps;
    return true;
}

bool ZOL_MainState::draw() {
    drawTileSize = TILE_SIZE;
    drawZoom = world->zoom;
    drawOffsetX = world->viewOffsetX;
    drawOffsetY = world->viewOffsetY;

    // The layers' order stays; the drawing only learns first what the upper ones will hide.
    world->announceCover(drawTileSize, drawZoom, drawOffsetX, drawOffsetY);
    world->drawTiles();
    world->drawKnownTiles(drawTileSize, drawZoom, drawOffsetX, drawOffsetY);
    world->drawBullets();
    drawAimMarkers(*this);
    drawSelectionMarkers(*this);
    // The offsets are copies of the World's ints, so they convert back exactly.
    world->drawEntities(drawTileSize, static_cast<int>(drawOffsetX), static_cast<int>(drawOffsetY),
                        drawZoom);
    world->drawFog(drawTileSize, drawZoom, drawOffsetX, drawOffsetY);
    endCover();
    drawDestinationMarkers(*this);
    drawSelectionRectangle(*this);
    drawBanner();
    drawSprite(cataloguePicture(slot::HelpButton), helpButton::kWidth, helpButton::kHeight,
               helpButton::kX, helpButton::kY);
    return true;
}
