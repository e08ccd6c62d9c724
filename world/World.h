#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "world/Grid.h"

struct Bullet;
struct CellGrid;
struct Entity;
class SightMemory;
class oglTexture2D;

namespace TileKind {
enum : int32_t { NullTile = 0, BaseTile = 1, Obstacle = 2 };
}

// The creation id that names no soldier.
constexpr int32_t kNoSoldier = -1;

// Pixels per tile at zoom 1.0.
constexpr int TILE_SIZE = 128;

// The battlefield: the tile grid, what each team has discovered and sees of it, the camera,
// and the soldiers and bullets on it.
struct World {
    Grid<int32_t> tiles;          // TileKind per tile, [x][y]
    Grid<int32_t> redKnownTiles;  // 0 = red has not discovered the tile, else its kind then
    Grid<int32_t> blueKnownTiles;
    Grid<double> redFog;  // 1.0 hidden .. 0.0 seen, rebuilt after every step
    Grid<double> blueFog;
    int32_t fogResolution = 1;  // fog cells per tile along each axis
    double zoom = 1.0;
    int32_t unusedTen = 10;   // nothing reads it
    int32_t viewOffsetX = 0;  // screen position of the grid's top-left corner
    int32_t viewOffsetY = 0;
    double cameraX = 0.0;  // tile-unit point shown at the screen centre
    double cameraY = 0.0;
    int32_t columns = 0;
    int32_t rows = 0;
    double tilePixelWidth = 0.0;
    double tilePixelHeight = 0.0;
    std::vector<Entity*> entities;                 // the living list, in map reading order
    std::vector<std::unique_ptr<Bullet>> bullets;  // in firing order
    float unusedFloat = 0.0f;                      // nothing reads it
    // Every soldier ever created, in creation order. Soldiers dropped from `entities` stay
    // alive here, because targets and the player's selection may still point at them.
    std::vector<std::unique_ptr<Entity>> roster;
    // What each soldier saw at the last fog computation, so that its rays are cast again only
    // when it has moved or a wall near it has changed. Created by the first computeFog.
    std::unique_ptr<SightMemory> sightMemory;
    // Teams that wait for orders instead of acting on their own (teamBit, world/Order.h). The
    // game starts in red's view, where red waits.
    uint32_t commandedTeams = 1u;

    World();
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Makes the battlefield an empty one of this size: open floor that neither team has
    // discovered, all in fog, and the camera at zoom 1.0 on its centre. Soldiers and bullets
    // are the caller's to clear.
    void resize(int columns, int rows, int fogResolution);

    // Map file. On a file that cannot be read or has no usable header, prints one line naming
    // the file and the reason, leaves the World as it was and returns false.
    bool loadMap(const std::string& fileName);
    // The same from an open stream; `fileName` only names it in the message.
    bool loadMap(std::istream& in, const std::string& fileName);

    // One step of the battle as the game runs it: update(), then both teams' fog.
    void step();
    // Red's fog, then blue's. The game's first frame computes them before the first step.
    void computeFogs();
    // The world's part of a step: drop a dead soldier, every soldier acts, camera offsets,
    // bullets move and strike.
    void update();

    void screenToTile(int px, int py, int& x, int& y) const;
    Entity* entityAt(int x, int y) const;
    bool isTileFree(int x, int y) const;
    int tileKind(int x, int y) const;
    // Floor becomes wall and anything else floor; no wall is built under a living soldier.
    void toggleTile(int x, int y);
    // One step of the zoom keys, in or out, within the zoom's range.
    void zoomIn();
    void zoomOut();
    bool isCommanded(int team) const;
    bool isEntityOnTile(int x, int y) const;
    bool isOtherTeamOnTile(int x, int y, int team) const;
    bool isTeamOnTile(int x, int y, int team) const;
    bool isObstacleAt(double x, double y) const;
    void setTeamTarget(Entity* target, int team);
    void addEntity(int team, int x, int y);
    // A soldier by its creation id, its index in `roster`; null for an id no soldier has.
    Entity* soldierById(int32_t id) const;
    // The creation id of one of this World's soldiers; kNoSoldier for any other pointer.
    int32_t idOf(const Entity* entity) const;
    void addBullet(std::unique_ptr<Bullet> bullet);
    void clearPaths();

    // Fog of war for one team (Team::Red or Team::Blue): rebuilds its fog grid and extends its
    // discovered tiles, which the soldiers' searches read.
    void computeFog(int team);

    // Drawing; defined in worldDraw.cpp, linked only by the game.
    void drawTiles() const;
    void drawKnownTiles(int t, double z, double ox, double oy) const;
    void drawBullets() const;
    void drawEntities(int t, int ox, int oy, double z) const;
    void drawFog(int t, double z, double ox, double oy) const;
    // Before a frame's layers, in a team's view: tells the drawing which remembered tiles and
    // which fog will cover the layers beneath them (see beginCover in gfx/Sprite.h).
    void announceCover(int t, double z, double ox, double oy) const;
    // Whether the viewed team sees the tile now; every tile in the all-teams view.
    bool isSeenInView(int column, int row) const;
    // Whether the current view shows a thing of the given team, one tile wide, at (x, y) in
    // tile units, possibly between tiles: the viewed team's own things always, the other
    // team's only where every tile they lie on is seen now.
    bool showsInView(int team, double x, double y) const;

private:
    void knownTileLayer(int t, double z, double ox, double oy, CellGrid& grid,
                        std::vector<const oglTexture2D*>& pictures) const;
    bool fogLayer(int t, double z, double ox, double oy, CellGrid& grid,
                  std::vector<double>& intensities) const;
};

// Euclidean distance in tile units.
double distance(double x1, double y1, double x2, double y2);
