#include <cmath>
#include <memory>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "base/Problem.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

constexpr int kPelletsPerVolley = 5;
constexpr int kSpreadSteps = 32768;
constexpr double kSpreadScale = 32768.0;

// The edge of the shooter's tile that faces the aim point, so the bullet leaves the tile on
// its first move.
double firingEdge(double centre, double aim) {
    if (aim > centre) {
        return centre + 0.5;
    }
    if (aim < centre) {
        return centre - 0.5;
    }
    return centre;
}

void launch(Entity& e, std::unique_ptr<Bullet> bullet) {
    Bullet* const fired = bullet.get();
    e.world->addBullet(std::move(bullet));
    e.firedBullets.push_back(fired);
}

void fireVolley(Entity& e, const Weapon& gun, double ox, double oy, double d) {
    for (int pellet = 0; pellet < kPelletsPerVolley; ++pellet) {
        // The first draw spreads y and the second x; the order fixes the replay.
        const int r1 = gameRand() % kSpreadSteps;
        const int r2 = gameRand() % kSpreadSteps;
        const double toX = e.aimX + r2 / kSpreadScale - 0.5;
        const double toY = e.aimY + r1 / kSpreadScale - 0.5;
        launch(e, spawnBullet(gun, e.target, ox, oy, toX, toY, d));
    }
    e.roundsLoaded -= 1;
    e.weaponReady = false;
    e.lastShotTime = gameClock();
}

void fireSingle(Entity& e, const Weapon& gun, double ox, double oy, double d) {
    launch(e, spawnBullet(gun, e.target, ox, oy, e.aimX, e.aimY, d));
    e.weaponReady = false;
    e.lastShotTime = gameClock();
    e.roundsLoaded -= 1;
}

bool isKnownKind(int kind) {
    return kind >= GunKind::Standard && kind <= GunKind::Rifle;
}

void refillOrSwitch(Entity& e) {
    const Weapon& gun = *e.currentWeapon;
    e.weaponReady = false;
    if (e.sinceReload <= gun.reloadInterval) {
        return;
    }
    const int kind = gun.kind;
    if (!isKnownKind(kind)) {
        reportProblem(
            "something is broke, we returned a type of gun that doesnt exist in attacking state");
        e.state = EntityState::Pursue;
        return;
    }
    e.reloadAmount = e.spareRounds[kind];
    e.reloadOrSwitch(e.reloadAmount);
    e.lastReloadTime = gameClock();
    if (e.reloadAmount > 0) {
        e.spareRounds[kind] -= e.currentWeapon->rounds;
    }
}

// Aims at the centre of the target's tile and fires from the edge of the own tile, if the
// shot is clear; otherwise looks for a place to fire from.
void shoot(Entity& e, Weapon& gun) {
    e.weaponReady = true;
    const double sx = e.x + 0.5;
    const double sy = e.y + 0.5;
    e.aimX += 0.5;
    e.aimY += 0.5;
    const double ox = firingEdge(sx, e.aimX);
    const double oy = firingEdge(sy, e.aimY);
    const double d = distance(ox, oy, e.aimX, e.aimY);
    const bool canFire = !e.isFriendInLineOfFire(e.aimX, e.aimY) &&
                         e.hasLineOfSight(e.aimX, e.aimY) && e.canSeeEntity(*e.target) &&
                         d <= gun.range;
    if (!canFire) {
        e.findFiringPosition();
        return;
    }
    if (gun.kind == GunKind::Shotgun) {
        fireVolley(e, gun, ox, oy, d);
    } else {
        fireSingle(e, gun, ox, oy, d);
    }
    gun.rounds = e.roundsLoaded;
}

}  // namespace

void Entity::attack() {
    if (target == nullptr || target->health <= 0) {
        action = EntityAction::Continue;
        state = EntityState::Idle;
        return;
    }
    aimX = std::trunc(target->x);
    aimY = std::trunc(target->y);
    Weapon& gun = *currentWeapon;
    if (sinceShot <= gun.fireInterval) {
        return;
    }
    roundsLoaded = gun.rounds;
    if (roundsLoaded <= 0) {
        refillOrSwitch(*this);
        return;
    }
    shoot(*this, gun);
}

void Entity::reloadOrSwitch(int amount) {
    if (amount > 0) {
        currentWeapon->reload(amount);
        return;
    }
    if (currentWeapon->kind == primaryWeapon->kind) {
        currentWeapon = secondaryWeapon.get();
    } else {
        currentWeapon = primaryWeapon.get();
    }
}
