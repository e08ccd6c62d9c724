#pragma once

#include <cstdint>
#include <memory>

class oglTexture2D;
struct Entity;
struct Weapon;
struct World;

// One shot in flight across the grid.
struct Bullet {
    double travelled = 0.0;  // tiles from the firing point
    double damage = 0.0;
    double velocityX = 0.0;  // tiles per world step
    double velocityY = 0.0;
    double unusedTwo = 2.0;  // nothing reads it
    double range = 0.0;
    bool active = true;
    bool hit = false;
    double x = 0.0;
    double y = 0.0;
    double originX = 0.0;
    double originY = 0.0;
    double aimDistance = 0.0;
    int32_t kind = 0;  // GunKind of the gun that fired it
    oglTexture2D* texture = nullptr;
    Entity* owner = nullptr;
    Entity* target = nullptr;

    // Scales the damage down with the distance travelled beyond half the range.
    void applyFalloff(double range, double travelled);
};

std::unique_ptr<Bullet> spawnBullet(const Weapon& weapon, Entity* target, double fromX,
                                    double fromY, double toX, double toY, double aimDistance);

// Drops at most one spent bullet, moves every bullet, spends those past their range.
void moveBullets(World& world);

// Bounds, obstacle and soldier tests for every bullet, dealing damage.
void resolveBulletHits(World& world);
