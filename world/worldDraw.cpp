#include <algorithm>
#include <cstddef>

#include "ai/Entity.h"
#include "ai/Weapon.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/Sprite.h"
#include "gfx/TextureSlots.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

constexpr double kShotgunPelletSide = 8;
constexpr double kBulletSide = 16;
constexpr double kBulletScale = 3;
constexpr double kDiscoveredFogCeiling = 0.5;

const oglTexture2D* picture(int slot) {
    return ResourceCatalogue::instance()->texture(slot);
}

const oglTexture2D* tilePicture(int kind) {
    switch (kind) {
        case TileKind::NullTile:
            return picture(slot::NullTile);
        case TileKind::BaseTile:
            return picture(slot::BaseTile);
        case TileKind::Obstacle:
            return picture(slot::ObstacleTile);
        default:
            return nullptr;
    }
}

// The known-tiles grids use 0 for "not discovered", so only floor and walls are remembered.
const oglTexture2D* knownTilePicture(int kind) {
    return kind == TileKind::NullTile ? nullptr : tilePicture(kind);
}

// A grid may lag behind `columns` and `rows` (a map that failed to load halfway, a test that
// built its own World); drawing stays within what every grid involved really holds.
int drawableColumns(int columns, const Grid<int32_t>& grid) {
    return std::min(columns, grid.columns());
}
int drawableRows(int rows, const Grid<int32_t>& grid) {
    return std::min(rows, grid.rows());
}

// Cells of a grid are drawn from their own corner to the next cell's corner, so neighbours
// meet whatever the zoom: a side truncated on its own would leave one-pixel seams every few
// cells. `corner` gives a cell's pixel edge from its index along one axis.
template <class CornerX, class CornerY>
void drawCell(const oglTexture2D* texture, int x, int y, const CornerX& cornerX,
              const CornerY& cornerY) {
    const int left = cornerX(x);
    const int top = cornerY(y);
    drawSprite(texture, cornerX(x + 1) - left, cornerY(y + 1) - top, left, top);
}

template <class CornerX, class CornerY>
void drawFadedCell(const oglTexture2D* texture, double intensity, int x, int y,
                   const CornerX& cornerX, const CornerY& cornerY) {
    const int left = cornerX(x);
    const int top = cornerY(y);
    drawSpriteFaded(texture, intensity, cornerX(x + 1) - left, cornerY(y + 1) - top, left, top);
}

}  // namespace

void World::drawTiles() const {
    const auto cornerX = [this](int x) { return toPixel(double(x) * 128 * zoom + viewOffsetX); };
    const auto cornerY = [this](int y) { return toPixel(double(y) * 128 * zoom + viewOffsetY); };
    const int drawnColumns = drawableColumns(columns, tiles);
    const int drawnRows = drawableRows(rows, tiles);
    for (int x = 0; x < drawnColumns; ++x) {
        for (int y = 0; y < drawnRows; ++y) {
            const oglTexture2D* texture = tilePicture(tiles[x][y]);
            if (texture == nullptr) {
                continue;
            }
            drawCell(texture, x, y, cornerX, cornerY);
        }
    }
}

void World::drawKnownTiles(int t, double z, double ox, double oy) const {
    const int viewMode = ResourceCatalogue::instance()->viewMode;
    if (viewMode != ViewMode::Red && viewMode != ViewMode::Blue) {
        return;
    }
    const Grid<int32_t>& known = viewMode == ViewMode::Red ? redKnownTiles : blueKnownTiles;
    const auto cornerX = [=](int x) { return toPixel(z * (double(x) * t) + ox); };
    const auto cornerY = [=](int y) { return toPixel(z * (double(y) * t) + oy); };
    const int drawnColumns = drawableColumns(columns, known);
    const int drawnRows = drawableRows(rows, known);
    for (int x = 0; x < drawnColumns; ++x) {
        for (int y = 0; y < drawnRows; ++y) {
            const oglTexture2D* texture = knownTilePicture(known[x][y]);
            if (texture == nullptr) {
                continue;
            }
            drawCell(texture, x, y, cornerX, cornerY);
        }
    }
}

void World::drawBullets() const {
    for (const std::unique_ptr<Bullet>& bullet : bullets) {
        if (bullet->texture == nullptr) {
            continue;
        }
        const double base = bullet->kind == GunKind::Shotgun ? kShotgunPelletSide : kBulletSide;
        const int side = toPixel(base * zoom * kBulletScale);
        drawSprite(bullet->texture, side, side, toPixel(bullet->x * 128 * zoom + viewOffsetX),
                   toPixel(bullet->y * 128 * zoom + viewOffsetY));
    }
}

// The dead go first so that the living always stand over the bodies.
void World::drawEntities(int t, int ox, int oy, double z) const {
    const std::size_t count = entities.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (entities[i]->health <= 0) {
            entities[i]->drawEntity(t, ox, oy, z);
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (entities[i]->health > 0) {
            entities[i]->drawEntity(t, ox, oy, z);
        }
    }
}

void World::drawFog(int t, double z, double ox, double oy) const {
    const int viewMode = ResourceCatalogue::instance()->viewMode;
    if (viewMode != ViewMode::Red && viewMode != ViewMode::Blue) {
        return;
    }
    const bool red = viewMode == ViewMode::Red;
    const Grid<int32_t>& known = red ? redKnownTiles : blueKnownTiles;
    const Grid<double>& fog = red ? redFog : blueFog;
    const int r = fogResolution;
    if (r <= 0) {
        return;
    }
    const oglTexture2D* texture = picture(slot::Fog);
    const auto cornerX = [=](int i) { return toPixel(ox + z * (double(i) * t) / r); };
    const auto cornerY = [=](int k) { return toPixel(oy + z * (double(k) * t) / r); };
    const int cellColumns = std::min(drawableColumns(columns, known) * r, fog.columns());
    const int cellRows = std::min(drawableRows(rows, known) * r, fog.rows());
    for (int i = 0; i < cellColumns; ++i) {
        for (int k = 0; k < cellRows; ++k) {
            const bool discovered = known[i / r][k / r] != 0;
            const double a = discovered ? std::min(fog[i][k], kDiscoveredFogCeiling) : fog[i][k];
            drawFadedCell(texture, a, i, k, cornerX, cornerY);
        }
    }
}
