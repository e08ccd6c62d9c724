#include "ai/Entity.h"

#include "base/GameClock.h"
#include "path/Path.h"

Entity::Entity(int team, int x, int y, World* world, std::vector<Entity*>* allEntities)
    : x(x), y(y), team(team), world(world), allEntities(allEntities) {
    lastUpdateTime = gameClock();
    spareRounds[GunKind::Standard] = 5;
    spareRounds[GunKind::Shotgun] = 10;
    spareRounds[GunKind::Rifle] = 2;
    primaryWeapon = makeShotgun(this);
    secondaryWeapon = makeRifle(this);
    currentWeapon = secondaryWeapon.get();
    target = nullptr;
    state = EntityState::Idle;
    action = EntityAction::Continue;
    justScanned = false;
    scanCounter = 0;
}

Entity::~Entity() = default;

void Entity::kill() {
    if (state != EntityState::Dead) {
        health = 0;
        state = EntityState::Dead;
    }
}
