#pragma once

#include <cstdint>
#include <memory>

#include "ai/Entity.h"
#include "support/Dice.h"
#include "world/World.h"

// A battlefield of any shape that the fast and the plain algorithms must treat alike: walls
// from none to dense, soldiers of both teams (some dead, some sharing a tile, some on walls),
// a patchy memory of the map for each team. The same seed always draws the same World, so a
// test can build two and let each algorithm change its own.
inline std::unique_ptr<World> drawBattlefield(uint32_t seed, int fogResolution = 1) {
    Dice dice(seed);
    auto world = std::make_unique<World>();
    const int columns = dice.chance(80) ? dice.between(1, 40) : dice.between(1, 90);
    const int rows = dice.chance(80) ? dice.between(1, 40) : dice.between(1, 90);
    world->resize(columns, rows, fogResolution);
    const int wallPercent = dice.below(5) * 10;
    const int knownPercent = dice.below(5) * 25;
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            if (dice.chance(wallPercent)) {
                world->tiles[x][y] = TileKind::Obstacle;
            }
            if (dice.chance(knownPercent)) {
                world->redKnownTiles[x][y] = world->tiles[x][y];
            }
            if (dice.chance(knownPercent)) {
                world->blueKnownTiles[x][y] = world->tiles[x][y];
            }
        }
    }
    for (int i = dice.between(1, 12); i > 0; --i) {
        world->addEntity(dice.below(2), dice.below(columns), dice.below(rows));
        Entity& soldier = *world->entities.back();
        if (dice.chance(15)) {
            soldier.health = 0;
        } else if (dice.chance(30)) {
            soldier.health = dice.between(1, 99);
        }
    }
    return world;
}
