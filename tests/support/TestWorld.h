#pragma once

#include <initializer_list>
#include <memory>
#include <string_view>

#include "world/Order.h"
#include "world/World.h"

// A World built from rows of map characters, top row first, so a test's battlefield reads at a
// glance: 'o' wall, 'r' red soldier, 'b' blue soldier, 'n' void, anything else open floor.
// Soldiers are created in reading order, as the map loader does.
inline std::unique_ptr<World> makeWorld(std::initializer_list<std::string_view> rows) {
    auto world = std::make_unique<World>();
    const int height = static_cast<int>(rows.size());
    const int width = height == 0 ? 0 : static_cast<int>(rows.begin()->size());
    world->resize(width, height, world->fogResolution);
    int y = 0;
    for (std::string_view row : rows) {
        for (int x = 0; x < width && x < static_cast<int>(row.size()); ++x) {
            switch (row[x]) {
                case 'o':
                    world->tiles[x][y] = TileKind::Obstacle;
                    break;
                case 'n':
                    world->tiles[x][y] = TileKind::NullTile;
                    break;
                case 'r':
                    world->addEntity(0, x, y);
                    break;
                case 'b':
                    world->addEntity(1, x, y);
                    break;
                default:
                    break;
            }
        }
        ++y;
    }
    return world;
}

// The same World with no team waiting for orders, as in the all-teams view: every soldier acts
// on its own.
inline std::unique_ptr<World> autonomousWorld(std::initializer_list<std::string_view> rows) {
    auto world = makeWorld(rows);
    world->commandedTeams = kNoTeams;
    return world;
}
