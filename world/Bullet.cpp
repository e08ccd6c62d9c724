#include "world/Bullet.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "ai/Entity.h"
#include "ai/Weapon.h"
#include "base/SaturatingInt.h"
#include "base/TileOf.h"
#include "gfx/ResourceCatalogue.h"
#include "gfx/TextureSlots.h"
#include "world/World.h"

namespace {

// Steps per tile along the axes: a bullet covers 1/5 of a tile per world step.
constexpr double kStepsPerTile = 5;

oglTexture2D* textureFor(int kind) {
    const int slotForKind = kind == GunKind::Shotgun ? slot::kBulletShotgun
                            : kind == GunKind::Rifle ? slot::kBulletYellow
                                                     : slot::kBulletOrange;
    return ResourceCatalogue::instance()->texture(slotForKind);
}

// A bullet aimed at its own firing point has no direction; it is spent unfired.
bool hasNoDirection(const Bullet& bullet) {
    return bullet.velocityX == 0 && bullet.velocityY == 0;
}

bool isInFlightOnGrid(const Bullet& bullet, const World& world) {
    return bullet.x > 0 && bullet.y > 0 && bullet.x < world.columns && bullet.y < world.rows &&
           bullet.active && !hasNoDirection(bullet);
}

// Whole points of damage only; a wild damage value neither overflows the health nor makes the
// conversion undefined.
int32_t healthAfterHit(int32_t health, double damage) {
    if (std::isnan(damage)) {
        return health;
    }
    return saturatingInt(static_cast<double>(health) - std::trunc(damage));
}

void strikeTile(Bullet& bullet, World& world, int x, int y) {
    bullet.applyFalloff(bullet.range, bullet.travelled);
    Entity* victim = world.entityAt(x, y);
    if (victim != nullptr) {
        victim->health = healthAfterHit(victim->health, bullet.damage);
        if (victim->health <= 0) {
            victim->kill();
        }
    }
    // A body stops the bullet too, living victim or not.
    bullet.active = false;
    bullet.hit = true;
}

void resolveHit(Bullet& bullet, World& world) {
    if (!isInFlightOnGrid(bullet, world)) {
        bullet.active = false;
        return;
    }
    if (world.isObstacleAt(bullet.x, bullet.y)) {
        bullet.active = false;
        bullet.hit = false;
    }
    const int x = tileOf(bullet.x);
    const int y = tileOf(bullet.y);
    if (world.isEntityOnTile(x, y) && bullet.active) {
        strikeTile(bullet, world, x, y);
    }
}

// The soldier's record of what it fired must not outlive the bullets: it would grow with every
// shot of a battle that never ends, and its pointers would dangle.
void forgetFiredBullet(const Bullet& bullet) {
    if (bullet.owner == nullptr) {
        return;
    }
    std::vector<Bullet*>& fired = bullet.owner->firedBullets;
    const auto entry = std::find(fired.begin(), fired.end(), &bullet);
    if (entry != fired.end()) {
        fired.erase(entry);
    }
}

// The spent bullet nearest the end of the list goes; at most one per step.
void dropOneSpentBullet(World& world) {
    for (std::size_t i = world.bullets.size(); i-- > 0;) {
        if (!world.bullets[i]->active) {
            forgetFiredBullet(*world.bullets[i]);
            world.bullets.erase(world.bullets.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void advance(Bullet& bullet) {
    bullet.x += bullet.velocityX;
    bullet.y += bullet.velocityY;
    const double dy = bullet.y - bullet.originY;
    const double dx = bullet.x - bullet.originX;
    bullet.travelled = std::sqrt(dy * dy + dx * dx);
    if (bullet.travelled >= bullet.range) {
        bullet.active = false;
        bullet.hit = false;
    }
}

}  // namespace

void Bullet::applyFalloff(double r, double t) {
    const double c = r * 0.5;
    double d = t - c;
    if (d < 1) {
        d = 1;
    }
    const double e = d > c ? d - c : d;
    damage = damage * (1 + c - e) / c;
}

std::unique_ptr<Bullet> spawnBullet(const Weapon& weapon, Entity* target, double fromX,
                                    double fromY, double toX, double toY, double aimDistance) {
    const double adx = std::fabs(toX - fromX);
    const double ady = std::fabs(toY - fromY);
    const double s = adx + ady;
    auto bullet = std::make_unique<Bullet>();
    bullet->x = bullet->originX = fromX;
    bullet->y = bullet->originY = fromY;
    bullet->damage = weapon.damage;
    // Distance along the axes, not Euclidean: |dirX| + |dirY| = 1.
    if (s != 0) {
        const double dirX = fromX > toX ? -(adx / s) : adx / s;
        const double dirY = fromY > toY ? -(ady / s) : ady / s;
        bullet->velocityX = dirX / kStepsPerTile;
        bullet->velocityY = dirY / kStepsPerTile;
    }
    bullet->unusedTwo = 2.0;
    bullet->range = weapon.range;
    bullet->aimDistance = aimDistance;
    bullet->kind = weapon.kind;
    bullet->owner = weapon.owner;
    bullet->target = target;
    bullet->active = true;
    bullet->travelled = 0.0;
    bullet->texture = textureFor(weapon.kind);
    return bullet;
}

void moveBullets(World& world) {
    dropOneSpentBullet(world);
    for (const std::unique_ptr<Bullet>& bullet : world.bullets) {
        advance(*bullet);
    }
}

void resolveBulletHits(World& world) {
    for (const std::unique_ptr<Bullet>& bullet : world.bullets) {
        resolveHit(*bullet, world);
    }
}
