#pragma once

#include <cstdint>
#include <memory>

struct Entity;

namespace GunKind {
enum : int32_t { Standard = 0, Shotgun = 1, Rifle = 2 };
}

// One gun. Spare rounds belong to the soldier, per gun kind, not to the gun.
struct Weapon {
    int32_t damage;
    int32_t range;   // tiles
    int32_t rounds;  // in the magazine
    int32_t magazineSize;
    int32_t fireInterval;    // ms that must pass (strictly) between shots
    int32_t reloadInterval;  // ms that must pass (strictly) between reloads or switches
    double rangeThirds[3];   // nothing reads them
    int32_t kind;
    Entity* owner;

    // Refills the magazine from `amount` offered spare rounds; returns the rounds not used.
    int reload(int amount);
};

// The two guns every soldier carries.
std::unique_ptr<Weapon> makeShotgun(Entity* owner);
std::unique_ptr<Weapon> makeRifle(Entity* owner);
