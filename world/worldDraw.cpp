#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

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

const oglTexture2D* tilePicture(int kind) {
    switch (kind) {
        case TileKind::NullTile:
            return cataloguePicture(slot::kNullTile);
        case TileKind::BaseTile:
            return cataloguePicture(slot::kBaseTile);
        case TileKind::Obstacle:
            return cataloguePicture(slot::kObstacleTile);
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
CellGrid cellGrid(int columns, int rows, const CornerX& cornerX, const CornerY& cornerY) {
    CellGrid grid;
    grid.left.resize(static_cast<std::size_t>(columns) + 1);
    grid.top.resize(static_cast<std::size_t>(rows) + 1);
    for (int x = 0; x <= columns; ++x) {
        grid.left[x] = cornerX(x);
    }
    for (int y = 0; y <= rows; ++y) {
        grid.top[y] = cornerY(y);
    }
    return grid;
}

// In a team's view its memory and its fog are drawn; in the all-teams view neither.
bool viewsTeam() {
    const int viewMode = ResourceCatalogue::instance()->viewMode;
    return viewMode == ViewMode::Red || viewMode == ViewMode::Blue;
}

bool viewsRed() {
    return ResourceCatalogue::instance()->viewMode == ViewMode::Red;
}

// The tiles a thing one tile wide at `at` lies on, along one axis: the one it starts on and,
// between tiles, the next. Off the map (or not a number) it is on no tile of it.
bool tileSpan(double at, int count, int& first, int& last) {
    if (!(at >= 0.0 && at <= count - 1.0)) {
        return false;
    }
    first = static_cast<int>(std::floor(at));
    last = static_cast<int>(std::ceil(at));
    return true;
}

}  // namespace

void World::drawTiles() const {
    const auto cornerX = [this](int x) {
        return toPixel(double(x) * TILE_SIZE * zoom + viewOffsetX);
    };
    const auto cornerY = [this](int y) {
        return toPixel(double(y) * TILE_SIZE * zoom + viewOffsetY);
    };
    const int drawnColumns = drawableColumns(columns, tiles);
    const int drawnRows = drawableRows(rows, tiles);
    const CellGrid grid = cellGrid(drawnColumns, drawnRows, cornerX, cornerY);
    std::vector<const oglTexture2D*> pictures;
    pictures.reserve(static_cast<std::size_t>(drawnColumns) * drawnRows);
    for (int x = 0; x < drawnColumns; ++x) {
        for (int y = 0; y < drawnRows; ++y) {
            pictures.push_back(tilePicture(tiles[x][y]));
        }
    }
    // In a team's view the remembered tiles go over these.
    drawTileLayer(grid, pictures, viewsTeam());
}

void World::knownTileLayer(int t, double z, double ox, double oy, CellGrid& grid,
                           std::vector<const oglTexture2D*>& pictures) const {
    const Grid<int32_t>& known = viewsRed() ? redKnownTiles : blueKnownTiles;
    const auto cornerX = [=](int x) { return toPixel(z * (double(x) * t) + ox); };
    const auto cornerY = [=](int y) { return toPixel(z * (double(y) * t) + oy); };
    const int drawnColumns = drawableColumns(columns, known);
    const int drawnRows = drawableRows(rows, known);
    grid = cellGrid(drawnColumns, drawnRows, cornerX, cornerY);
    pictures.clear();
    pictures.reserve(static_cast<std::size_t>(drawnColumns) * drawnRows);
    for (int x = 0; x < drawnColumns; ++x) {
        for (int y = 0; y < drawnRows; ++y) {
            pictures.push_back(knownTilePicture(known[x][y]));
        }
    }
}

void World::drawKnownTiles(int t, double z, double ox, double oy) const {
    if (!viewsTeam()) {
        return;
    }
    CellGrid grid;
    std::vector<const oglTexture2D*> pictures;
    knownTileLayer(t, z, ox, oy, grid, pictures);
    drawTileLayer(grid, pictures);
}

void World::drawBullets() const {
    for (const std::unique_ptr<Bullet>& bullet : bullets) {
        if (bullet->texture == nullptr) {
            continue;
        }
        const double base = bullet->kind == GunKind::Shotgun ? kShotgunPelletSide : kBulletSide;
        const int side = toPixel(base * zoom * kBulletScale);
        drawSprite(bullet->texture, side, side, toPixel(bullet->x * TILE_SIZE * zoom + viewOffsetX),
                   toPixel(bullet->y * TILE_SIZE * zoom + viewOffsetY));
    }
}

// A team sees a tile now where its fog there is below the remembered ground's ceiling: only
// there is the ground drawn brighter than ground it merely remembers (a tile lit more faintly
// is drawn exactly as dim as a remembered one, or darker while undiscovered). So nothing of
// the other team shows on ground that looks remembered.
bool World::isSeenInView(int column, int row) const {
    if (!viewsTeam()) {
        return true;
    }
    const Grid<double>& fog = viewsRed() ? redFog : blueFog;
    const int r = fogResolution;
    for (int i = r * column; i < r * column + r; ++i) {
        for (int k = r * row; k < r * row + r; ++k) {
            if (i >= 0 && k >= 0 && i < fog.columns() && k < fog.rows() &&
                fog[i][k] < kDiscoveredFogCeiling) {
                return true;
            }
        }
    }
    return false;
}

// A body between two tiles shows only while both are seen: no part of it may lie on ground
// that looks remembered, or the fog would give it away half a tile early. It shows up a hop
// later when it walks into sight and goes a hop earlier when it walks out.
bool World::showsInView(int team, double x, double y) const {
    const int viewMode = ResourceCatalogue::instance()->viewMode;
    if (!viewsTeam() || team == viewMode) {
        return true;
    }
    int firstColumn = 0;
    int lastColumn = 0;
    int firstRow = 0;
    int lastRow = 0;
    if (!tileSpan(x, columns, firstColumn, lastColumn) || !tileSpan(y, rows, firstRow, lastRow)) {
        return false;
    }
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row) {
            if (!isSeenInView(column, row)) {
                return false;
            }
        }
    }
    return true;
}

// The dead go first so that the living always stand over the bodies. In a team's view the
// other team's soldiers out of its sight are left out whole, their routes with them.
void World::drawEntities(int t, int ox, int oy, double z) const {
    const auto shows = [this](const Entity& entity) {
        const DrawPoint place = entity.drawnPlace();
        return showsInView(entity.team, place.x, place.y);
    };
    const std::size_t count = entities.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (entities[i]->health <= 0 && shows(*entities[i])) {
            entities[i]->drawEntity(t, ox, oy, z);
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (entities[i]->health > 0 && shows(*entities[i])) {
            entities[i]->drawEntity(t, ox, oy, z);
        }
    }
}

// Fog cells of r x r per tile; a discovered tile's fog is never darker than one half.
bool World::fogLayer(int t, double z, double ox, double oy, CellGrid& grid,
                     std::vector<double>& intensities) const {
    const bool red = viewsRed();
    const Grid<int32_t>& known = red ? redKnownTiles : blueKnownTiles;
    const Grid<double>& fog = red ? redFog : blueFog;
    const int r = fogResolution;
    if (r <= 0) {
        return false;
    }
    const auto cornerX = [=](int i) { return toPixel(ox + z * (double(i) * t) / r); };
    const auto cornerY = [=](int k) { return toPixel(oy + z * (double(k) * t) / r); };
    const int cellColumns = std::min(drawableColumns(columns, known) * r, fog.columns());
    const int cellRows = std::min(drawableRows(rows, known) * r, fog.rows());
    grid = cellGrid(std::max(cellColumns, 0), std::max(cellRows, 0), cornerX, cornerY);
    intensities.clear();
    intensities.reserve(static_cast<std::size_t>(grid.columns()) * grid.rows());
    for (int i = 0; i < cellColumns; ++i) {
        for (int k = 0; k < cellRows; ++k) {
            const bool discovered = known[i / r][k / r] != 0;
            intensities.push_back(discovered ? std::min(fog[i][k], kDiscoveredFogCeiling)
                                             : fog[i][k]);
        }
    }
    return true;
}

void World::drawFog(int t, double z, double ox, double oy) const {
    if (!viewsTeam()) {
        return;
    }
    CellGrid grid;
    std::vector<double> intensities;
    if (fogLayer(t, z, ox, oy, grid, intensities)) {
        drawFadedLayer(grid, cataloguePicture(slot::kFog), intensities);
    }
}

void World::announceCover(int t, double z, double ox, double oy) const {
    if (!viewsTeam()) {
        return;
    }
    Cover cover;
    knownTileLayer(t, z, ox, oy, cover.remembered, cover.rememberedPictures);
    if (fogLayer(t, z, ox, oy, cover.fog, cover.fogIntensities)) {
        cover.fogPicture = cataloguePicture(slot::kFog);
    }
    beginCover(cover);
}
