#include <fstream>
#include <istream>
#include <string>

#include "ai/Entity.h"
#include "base/Problem.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

constexpr int kMaxMapSide = 1024;

void reportBadMap(const std::string& fileName, const std::string& reason) {
    reportProblem(fileName + ": " + reason);
}

bool isSideInRange(int side) {
    return side >= 1 && side <= kMaxMapSide;
}

// A body that ends early leaves the unread cells as open floor.
void readCells(World& world, std::istream& in, int width, int height) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            char cell = 0;
            if (!(in >> cell)) {
                return;
            }
            if (cell == 'b') {
                world.addEntity(Team::Blue, x, y);
            } else if (cell == 'o') {
                world.tiles[x][y] = TileKind::Obstacle;
            } else if (cell == 'r') {
                world.addEntity(Team::Red, x, y);
            }
        }
    }
}

}  // namespace

bool World::loadMap(const std::string& fileName) {
    std::ifstream in(fileName);
    if (!in.is_open()) {
        reportBadMap(fileName, "cannot open");
        return false;
    }
    return loadMap(in, fileName);
}

bool World::loadMap(std::istream& in, const std::string& fileName) {
    int width = 0;
    int height = 0;
    if (!(in >> width >> height)) {
        reportBadMap(fileName, "the header is not two numbers");
        return false;
    }
    // Checked before anything is sized from it: a huge header must fail fast, not allocate.
    if (!isSideInRange(width) || !isSideInRange(height)) {
        reportBadMap(fileName, "size " + std::to_string(width) + " x " + std::to_string(height) +
                                   " is outside 1.." + std::to_string(kMaxMapSide));
        return false;
    }
    // Soldiers or bullets from before would stand outside a smaller grid; the old soldiers stay
    // allocated in the roster for anyone still pointing at them.
    entities.clear();
    for (const auto& soldier : roster) {
        soldier->firedBullets.clear();
    }
    bullets.clear();
    resize(width, height, fogResolution);
    readCells(*this, in, width, height);
    return true;
}
