#include "world/BattleHash.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "path/Path.h"
#include "world/Bullet.h"
#include "world/World.h"

namespace {

// Each value enters as one 64-bit word through a step that is a bijection of the running
// digest for any fixed word and of the word for any fixed digest, so two inputs that differ
// in a single word always end in different digests. The words are the values, not the bytes
// in memory, so every platform and compiler gets the same digest.
class Digest {
public:
    // std::bit_cast, which the page's C++ library lacks.
    template <class Bits, class Value>
    static Bits bitsOf(Value value) {
        static_assert(sizeof(Bits) == sizeof(Value));
        Bits bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }

    void add(uint64_t word) { state_ = (std::rotl(state_, 5) ^ word) * kMultiplier; }
    void add(int32_t value) { add(static_cast<uint64_t>(static_cast<uint32_t>(value))); }
    void add(uint32_t value) { add(static_cast<uint64_t>(value)); }
    // Counts and indices, whose type differs between platforms.
    void addCount(std::size_t value) { add(static_cast<uint64_t>(value)); }
    void add(bool value) { add(static_cast<uint64_t>(value ? 1 : 0)); }
    void add(double value) { add(bitsOf<uint64_t>(value)); }
    void add(float value) { add(bitsOf<uint32_t>(value)); }

    // The words so far mixed once more, so that nearby inputs give digests far apart.
    uint64_t result() const {
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }

private:
    static constexpr uint64_t kMultiplier = 0x9e3779b97f4a7c15ull;
    uint64_t state_ = 0x6a09e667f3bcc908ull;
};

template <class T>
using Indices = std::unordered_map<const T*, int32_t>;

// Pointers count as the index of what they point at in its list, -1 for none or for something
// not in the list.
template <class T>
int32_t indexOf(const Indices<T>& indices, const T* item) {
    const auto found = indices.find(item);
    return found == indices.end() ? -1 : found->second;
}

template <class T>
void addGrid(Digest& digest, const Grid<T>& grid) {
    digest.add(static_cast<int32_t>(grid.columns()));
    digest.add(static_cast<int32_t>(grid.rows()));
    for (int x = 0; x < grid.columns(); ++x) {
        const T* const column = grid[x];
        for (int y = 0; y < grid.rows(); ++y) {
            digest.add(column[y]);
        }
    }
}

void addWeapon(Digest& digest, const Weapon* gun) {
    digest.add(gun != nullptr);
    if (gun == nullptr) {
        return;
    }
    digest.add(gun->damage);
    digest.add(gun->range);
    digest.add(gun->rounds);
    digest.add(gun->magazineSize);
    digest.add(gun->fireInterval);
    digest.add(gun->reloadInterval);
    for (const double third : gun->rangeThirds) {
        digest.add(third);
    }
    digest.add(gun->kind);
}

void addPath(Digest& digest, const Path* path) {
    digest.add(path != nullptr);
    if (path == nullptr) {
        return;
    }
    digest.addCount(path->waypoints.size());
    for (const Waypoint& waypoint : path->waypoints) {
        digest.add(waypoint.x);
        digest.add(waypoint.y);
        digest.add(waypoint.stepCost);
    }
    digest.addCount(path->current);
    digest.add(path->startX);
    digest.add(path->startY);
    digest.add(path->goalX);
    digest.add(path->goalY);
    digest.add(path->columns);
    digest.add(path->rows);
}

int32_t currentGun(const Entity& e) {
    if (e.currentWeapon == nullptr) {
        return -1;
    }
    return e.currentWeapon == e.primaryWeapon.get() ? 0 : 1;
}

void addEntity(Digest& digest, const Entity& e, const Indices<Entity>& soldiers,
               const Indices<Bullet>& bullets) {
    digest.add(e.x);
    digest.add(e.y);
    digest.add(e.goalX);
    digest.add(e.goalY);
    digest.add(e.rallyX);
    digest.add(e.rallyY);
    digest.add(e.health);
    digest.add(e.weaponReady);
    digest.add(e.lastUpdateTime);
    digest.add(e.sinceUpdate);
    digest.add(e.lastShotTime);
    digest.add(e.sinceShot);
    digest.add(e.lastReloadTime);
    digest.add(e.sinceReload);
    digest.add(e.thinkInterval);
    digest.add(e.team);
    digest.addCount(e.firedBullets.size());
    for (const Bullet* fired : e.firedBullets) {
        digest.add(indexOf(bullets, fired));
    }
    digest.add(e.halted);
    digest.add(e.stepX);
    digest.add(e.stepY);
    digest.add(e.moveProgress);
    digest.add(e.speed);
    addPath(digest, e.path.get());
    digest.add(indexOf(soldiers, e.target));
    digest.add(e.aimX);
    digest.add(e.aimY);
    for (const int32_t spare : e.spareRounds) {
        digest.add(spare);
    }
    digest.add(e.reloadAmount);
    digest.add(e.roundsLoaded);
    addWeapon(digest, e.primaryWeapon.get());
    addWeapon(digest, e.secondaryWeapon.get());
    digest.add(currentGun(e));
    digest.add(e.state);
    digest.add(e.action);
    digest.add(e.justScanned);
    digest.add(e.scanCounter);
}

// The texture is left out: it is the catalogue's picture for the bullet's kind.
void addBullet(Digest& digest, const Bullet& b, const Indices<Entity>& soldiers) {
    digest.add(b.travelled);
    digest.add(b.damage);
    digest.add(b.velocityX);
    digest.add(b.velocityY);
    digest.add(b.unusedTwo);
    digest.add(b.range);
    digest.add(b.active);
    digest.add(b.hit);
    digest.add(b.x);
    digest.add(b.y);
    digest.add(b.originX);
    digest.add(b.originY);
    digest.add(b.aimDistance);
    digest.add(b.kind);
    digest.add(indexOf(soldiers, b.owner));
    digest.add(indexOf(soldiers, b.target));
}

void addField(Digest& digest, const World& world) {
    addGrid(digest, world.tiles);
    addGrid(digest, world.redKnownTiles);
    addGrid(digest, world.blueKnownTiles);
    addGrid(digest, world.redFog);
    addGrid(digest, world.blueFog);
    digest.add(world.fogResolution);
    // The camera (zoom, centre, the offsets and tile size a step derives from them) is left
    // out: it is each viewer's own, moved by keys that give no order, and nothing the
    // soldiers or bullets do reads it. A battle watched from another place fights alike.
    digest.add(world.unusedTen);
    digest.add(world.columns);
    digest.add(world.rows);
    digest.add(world.unusedFloat);
    digest.add(world.commandedTeams);
}

void addSeams(Digest& digest) {
    digest.add(gameClock());
    const GameRandomState random = gameRandomState();
    for (const uint32_t word : random.words) {
        digest.add(word);
    }
    digest.add(static_cast<int32_t>(random.next));
}

}  // namespace

// The sight memory is left out: it is a cache of the fog's rays that is checked against the
// tiles and the soldier's place before every use, so it never changes what a step does.
uint64_t battleHash(const World& world) {
    Indices<Entity> soldiers;
    for (std::size_t i = 0; i < world.roster.size(); ++i) {
        soldiers.emplace(world.roster[i].get(), static_cast<int32_t>(i));
    }
    Indices<Bullet> bullets;
    for (std::size_t i = 0; i < world.bullets.size(); ++i) {
        bullets.emplace(world.bullets[i].get(), static_cast<int32_t>(i));
    }
    Digest digest;
    addField(digest, world);
    addSeams(digest);
    digest.addCount(world.roster.size());
    for (const auto& soldier : world.roster) {
        addEntity(digest, *soldier, soldiers, bullets);
    }
    digest.addCount(world.entities.size());
    for (const Entity* listed : world.entities) {
        digest.add(indexOf(soldiers, listed));
    }
    digest.addCount(world.bullets.size());
    for (const auto& bullet : world.bullets) {
        addBullet(digest, *bullet, soldiers);
    }
    return digest.result();
}

std::string hashText(uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}
