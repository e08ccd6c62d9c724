#include "world/World.h"

#include <cmath>

#include "ai/Entity.h"
#include "base/SaturatingInt.h"
#include "world/Bullet.h"
#include "world/Order.h"
#include "world/SightMemory.h"

namespace {

constexpr int kStartColumns = 40;
constexpr int kStartRows = 25;
constexpr int kStartUnusedTen = 10;
constexpr double kZoomStep = 1.05;
constexpr double kMinZoom = 0.175;
constexpr double kMaxZoom = 1.0;

bool standsOn(const Entity& entity, int x, int y) {
    return std::trunc(entity.x) == x && std::trunc(entity.y) == y;
}

}  // namespace

World::World() {
    resize(kStartColumns, kStartRows, 1);
}

void World::resize(int newColumns, int newRows, int newFogResolution) {
    columns = newColumns;
    rows = newRows;
    tiles.reset(columns, rows, TileKind::BaseTile);
    redKnownTiles.reset(columns, rows, 0);
    blueKnownTiles.reset(columns, rows, 0);
    zoom = 1.0;
    cameraX = columns / 2;
    cameraY = rows / 2;
    unusedTen = kStartUnusedTen;
    viewOffsetX = 0;
    viewOffsetY = 0;
    fogResolution = newFogResolution;
    redFog.reset(columns * fogResolution, rows * fogResolution, 1.0);
    blueFog.reset(columns * fogResolution, rows * fogResolution, 1.0);
}

World::~World() = default;

void World::screenToTile(int px, int py, int& x, int& y) const {
    // In double, so an extreme pixel cannot overflow the subtraction. Floored, not truncated:
    // truncation toward zero put the strip up to a tile above and left of the grid on row 0
    // and column 0, so a click beside the map walled or ordered the map's edge.
    const double dx = static_cast<double>(px) - viewOffsetX;
    const double dy = static_cast<double>(py) - viewOffsetY;
    x = saturatingInt(std::floor(dx / zoom * (1.0 / TILE_SIZE)));
    y = saturatingInt(std::floor(dy / zoom * (1.0 / TILE_SIZE)));
}

Entity* World::entityAt(int x, int y) const {
    if (x < 0 || x >= columns || y < 0 || y >= rows) {
        return nullptr;
    }
    Entity* found = nullptr;
    for (Entity* entity : entities) {
        if (entity->health > 0 && standsOn(*entity, x, y)) {
            found = entity;
        }
    }
    return found;
}

bool World::isTileFree(int x, int y) const {
    if (!tiles.contains(x, y) || tiles[x][y] == TileKind::Obstacle) {
        return false;
    }
    for (const Entity* entity : entities) {
        if (entity->health > 0 && standsOn(*entity, x, y)) {
            return false;
        }
    }
    return true;
}

int World::tileKind(int x, int y) const {
    if (!tiles.contains(x, y)) {
        return TileKind::Obstacle;
    }
    return tiles[x][y];
}

void World::toggleTile(int x, int y) {
    if (!tiles.contains(x, y)) {
        return;
    }
    int32_t& tile = tiles[x][y];
    const int32_t toggled = tile == TileKind::BaseTile ? TileKind::Obstacle : TileKind::BaseTile;
    // A soldier walled in could neither be hit nor see, and the battle would stall around it.
    if (toggled == TileKind::Obstacle && entityAt(x, y) != nullptr) {
        return;
    }
    tile = toggled;
}

void World::zoomIn() {
    zoom = zoom * kZoomStep;
    if (zoom > kMaxZoom) {
        zoom = kMaxZoom;
    }
}

void World::zoomOut() {
    zoom = zoom / kZoomStep;
    if (zoom < kMinZoom) {
        zoom = kMinZoom;
    }
}

bool World::isCommanded(int team) const {
    return isTeamIn(commandedTeams, team);
}

bool World::isEntityOnTile(int x, int y) const {
    for (const Entity* entity : entities) {
        if (standsOn(*entity, x, y)) {
            return true;
        }
    }
    return false;
}

bool World::isOtherTeamOnTile(int x, int y, int team) const {
    for (const Entity* entity : entities) {
        if (entity->team != team && standsOn(*entity, x, y)) {
            return true;
        }
    }
    return false;
}

bool World::isTeamOnTile(int x, int y, int team) const {
    for (const Entity* entity : entities) {
        if (entity->team == team && standsOn(*entity, x, y)) {
            return true;
        }
    }
    return false;
}

bool World::isObstacleAt(double x, double y) const {
    const double column = std::floor(x);
    const double row = std::floor(y);
    // Outside the grid (or not a number) counts as wall: nothing passes the edge of the map.
    if (!(column >= 0.0 && column < tiles.columns() && row >= 0.0 && row < tiles.rows())) {
        return true;
    }
    return tiles[static_cast<int>(column)][static_cast<int>(row)] == TileKind::Obstacle;
}

void World::setTeamTarget(Entity* target, int team) {
    for (Entity* entity : entities) {
        if (entity->team == team) {
            entity->target = target;
            entity->state = EntityState::Pursue;
        }
    }
}

void World::addEntity(int team, int x, int y) {
    auto entity = std::make_unique<Entity>(team, x, y, this, &entities);
    entity->creationId = static_cast<int32_t>(roster.size());
    entities.push_back(entity.get());
    roster.push_back(std::move(entity));
}

void World::addBullet(std::unique_ptr<Bullet> bullet) {
    bullets.push_back(std::move(bullet));
}

Entity* World::soldierById(int32_t id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= roster.size()) {
        return nullptr;
    }
    return roster[static_cast<std::size_t>(id)].get();
}

int32_t World::idOf(const Entity* entity) const {
    if (entity == nullptr || soldierById(entity->creationId) != entity) {
        return kNoSoldier;
    }
    return entity->creationId;
}

double distance(double x1, double y1, double x2, double y2) {
    return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}
