#include "play/ZOL_MainState.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Screen.h"
#include "gfx/Sprite.h"
#include "gfx/TextureSlots.h"
#include "net/VersusSession.h"
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
            return slot::kRedBanner;
        case ViewMode::Blue:
            return slot::kBlueBanner;
        case ViewMode::All:
            return slot::kAllBanner;
        default:
            return -1;
    }
}

bool isMarked(const Entity* entity) {
    return entity != nullptr && entity->health > 0;
}

// (x, y) in tile units, whole or between tiles.
void drawAt(const ZOL_MainState& play, int slot, double x, double y) {
    const int side = toPixel(play.drawTileSize * play.drawZoom);
    drawSprite(cataloguePicture(slot), side, side,
               toPixel(play.drawZoom * (play.drawTileSize * x) + play.drawOffsetX),
               toPixel(play.drawZoom * (play.drawTileSize * y) + play.drawOffsetY));
}

bool showsInView(const ZOL_MainState& play, const Entity& entity) {
    const DrawPoint place = entity.drawnPlace();
    return play.world->showsInView(entity.team, place.x, place.y);
}

// The brackets tell whom a soldier is after: neither end may be out of the view's sight.
void drawAimMarkers(const ZOL_MainState& play) {
    for (const Entity* entity : play.selection) {
        if (isMarked(entity) && showsInView(play, *entity) &&
            (entity->target == nullptr || showsInView(play, *entity->target))) {
            entity->drawTargetMarker(play.drawTileSize, play.drawZoom, play.drawOffsetX,
                                     play.drawOffsetY);
        }
    }
}

void drawSelectionMarkers(const ZOL_MainState& play) {
    for (const Entity* entity : play.selection) {
        if (isMarked(entity) && showsInView(play, *entity)) {
            const DrawPoint place = entity->drawnPlace();
            drawAt(play, slot::kEntitySelected, place.x, place.y);
        }
    }
}

void drawDestinationMarkers(const ZOL_MainState& play) {
    for (const Entity* entity : play.selection) {
        if (!isMarked(entity) || std::trunc(entity->goalX) == -1.0) {
            continue;
        }
        const double column = std::trunc(entity->goalX);
        const double row = std::trunc(entity->goalY);
        if (play.world->showsInView(entity->team, column, row)) {
            drawAt(play, slot::kEntityTarget, column, row);
        }
    }
}

// The fallen the World has already dropped, for as long as their dead picture stays.
void drawFallen(const ZOL_MainState& play) {
    for (const ZOL_MainState::Fallen& body : play.fallen) {
        const bool listed = std::find(play.world->entities.begin(), play.world->entities.end(),
                                      body.entity) != play.world->entities.end();
        if (listed || !play.isFallenShown(body) ||
            !play.world->showsInView(body.entity->team, body.place.x, body.place.y)) {
            continue;
        }
        drawFallenBody(body.entity->team, body.place, play.drawTileSize, play.drawZoom,
                       play.drawOffsetX, play.drawOffsetY);
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
    const oglTexture2D* line = cataloguePicture(slot::kSelectionLine);
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

// Deaths are looked for before the step, for a soldier killed by a key since the last one,
// and after it, for those the bullets killed: the World drops a dead soldier no sooner than at
// the start of the following step, so none is missed.
bool ZOL_MainState::update() {
    if (versus_ != nullptr) {
        return updateVersus();
    }
    takeStep();
    return true;
}

void ZOL_MainState::takeStep() {
    noteFallen();
    world->step();
    noteFallen();
    ++battleSteps;
}

void ZOL_MainState::playVersus(VersusSession* session) {
    versus_ = session;
}

bool ZOL_MainState::loadVersusBattle(const BattleStart& start) {
    // As the headless runner sets up a battle: the clock at 0, the seed, the map, the teams.
    setSimulatedClock(0);
    fixGameSeed(start.seed);
    ResourceCatalogue::instance()->viewMode =
        start.team == Team::Red ? ViewMode::Red : ViewMode::Blue;
    auto battle = std::make_unique<World>();
    std::istringstream map(start.map);
    if (!battle->loadMap(map, "the server's map")) {
        return false;
    }
    battle->commandedTeams = kBothTeams;
    battle->zoom = kStartZoom;
    battle->computeFogs();
    world = std::move(battle);
    selection.clear();
    battleSteps = 0;
    mapLoaded = true;
    return true;
}

// The window's loop calls every 16 ms; the battle steps only when its turn's orders are here,
// at its own clock, so that both players' battles and the server's replay agree to the bit.
bool ZOL_MainState::updateVersus() {
    if (!versus_->mayStep()) {
        return true;
    }
    for (const Order& order : versus_->takeTurnOrders()) {
        applyOrder(*world, order);
    }
    const int64_t step = versus_->stepsTaken() + 1;
    setSimulatedClock(static_cast<int32_t>(step * versus_->start().tickMs));
    takeStep();
    versus_->stepped(*world);
    return true;
}

// A clock set back (a test, a tool) shows none of the fallen rather than keep them for ever;
// nor does a World put in place of theirs since they were noted.
bool ZOL_MainState::isFallenShown(const Fallen& body) const {
    const int64_t elapsed = int64_t{gameClock()} - body.fellAt;
    return fallenOf == world.get() && elapsed >= 0 && elapsed <= kFallenShownMs;
}

// Only the drawing keeps these; the World and the battle know nothing of them. A World put in
// place of the old one (as the tests and tools do) brings its own soldiers.
void ZOL_MainState::noteFallen() {
    if (fallenOf != world.get()) {
        fallen.clear();
        fallenOf = world.get();
    }
    const std::vector<Entity*>& listed = world->entities;
    // One still in the list stays noted, so that it is not noted afresh, with a later time.
    std::erase_if(fallen, [&](const Fallen& body) {
        return body.entity->health > 0 ||
               (!isFallenShown(body) &&
                std::find(listed.begin(), listed.end(), body.entity) == listed.end());
    });
    for (const Entity* entity : listed) {
        if (entity->health > 0) {
            continue;
        }
        const bool noted = std::any_of(fallen.begin(), fallen.end(), [entity](const Fallen& body) {
            return body.entity == entity;
        });
        if (!noted) {
            fallen.push_back({entity, entity->drawnPlace(), gameClock()});
        }
    }
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
    drawFallen(*this);
    // The offsets are copies of the World's ints, so they convert back exactly.
    world->drawEntities(drawTileSize, static_cast<int>(drawOffsetX), static_cast<int>(drawOffsetY),
                        drawZoom);
    world->drawFog(drawTileSize, drawZoom, drawOffsetX, drawOffsetY);
    endCover();
    drawDestinationMarkers(*this);
    drawSelectionRectangle(*this);
    drawBanner();
    drawSprite(cataloguePicture(slot::kHelpButton), helpButton::kWidth, helpButton::kHeight,
               helpButton::kX, helpButton::kY);
    return true;
}
