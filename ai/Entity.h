#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ai/Weapon.h"
#include "path/Path.h"

struct Bullet;
struct World;

// A soldier's health when it is made, and the most healing gives back.
constexpr int32_t kFullHealth = 100;

namespace Team {
enum : int32_t { Red = 0, Blue = 1 };
}

// The behaviour state; the values are fixed (2 is unused) because orders write them directly.
namespace EntityState {
enum : int32_t {
    Pursue = 0,
    Flee = 1,
    Advance = 3,
    Move = 4,
    Fight = 5,
    Idle = 6,
    Dead = 7,
    Explore = 8,
    ExploreAndEngage = 9,
    Reposition = 10,
};
}

// What an update does after deciding (1 is unused).
namespace EntityAction {
enum : int32_t { Attack = 0, Walk = 2, Continue = 3, Scan = 4 };
}

// A point on the field in tile units, or on the screen in pixels before truncation.
struct DrawPoint {
    double x;
    double y;
};

// One soldier.
struct Entity {
    double x;  // the tile it stands on; always whole numbers
    double y;
    double goalX = -1.0;  // tile its Path leads to; -1.0 = none
    double goalY = -1.0;
    double rallyX = 0.0;  // firing position chosen when it could not fire
    double rallyY = 0.0;
    int32_t health = kFullHealth;
    bool weaponReady = true;
    int32_t lastUpdateTime = 0;  // ms, gameClock()
    int32_t sinceUpdate = 0;
    int32_t lastShotTime = 0;
    int32_t sinceShot = 0;
    int32_t lastReloadTime = 0;
    int32_t sinceReload = 0;
    double thinkInterval = 0.5;
    int32_t team;
    World* world;
    std::vector<Entity*>* allEntities;  // the World's list that perception walks
    std::vector<Bullet*> firedBullets;  // not owned; only the bullets still in the World's list
    bool halted = true;
    int32_t stepX = -1;  // tile the last hop started from; -1 = none
    int32_t stepY = -1;
    double moveProgress = 0.0;
    double speed = 0.1;
    std::unique_ptr<Path> path;
    Entity* target = nullptr;
    double aimX = 0.0;
    double aimY = 0.0;
    int32_t spareRounds[3] = {5, 10, 2};  // by GunKind
    int32_t reloadAmount = 0;
    int32_t roundsLoaded = 0;
    std::unique_ptr<Weapon> primaryWeapon;
    std::unique_ptr<Weapon> secondaryWeapon;
    Weapon* currentWeapon = nullptr;
    int32_t state = EntityState::Idle;
    int32_t action = EntityAction::Continue;
    bool justScanned = false;
    int32_t scanCounter = 0;
    // Its index in the World's roster, which names it in orders; set by addEntity.
    int32_t creationId = -1;

    // Only the World's addEntity creates soldiers.
    Entity(int team, int x, int y, World* world, std::vector<Entity*>* allEntities);
    ~Entity();
    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;

    void kill();

    // Behaviour (Behaviour.cpp): the per-frame step and the state machine.
    void update();
    void decide();

    // Senses (Perception.cpp).
    bool hasLineOfSight(double tx, double ty) const;
    bool isFriendInLineOfFire(double tx, double ty) const;
    bool isLineClear(double ax, double ay, double bx, double by) const;
    bool canSeeEntity(const Entity& other) const;
    bool canSeePoint(double tx, double ty) const;
    bool isTargetSpotted() const;
    void acquireTarget();
    bool isTargetedByEnemy() const;
    bool isPursuedByEnemy() const;
    Entity* nearestEnemyTargeting() const;
    Entity* nearestPursuer() const;
    void findHidingTile(const Entity& threat);
    void findFiringPosition();
    void pickFrontierTile();

    // Fighting (Attack.cpp).
    void attack();
    void reloadOrSwitch(int amount);

    // Moving (path/PathFollow.cpp).
    Path* requestPath(int column, int row);
    void followPath();

    // Drawing (entityDraw.cpp).
    void drawEntity(int t, int ox, int oy, double z) const;
    void drawTargetMarker(int t, double z, double ox, double oy) const;
    // Where the body is drawn, in tile units: on its tile, or on its way there during a hop.
    // Every mark of the soldier stands where the body is, not on the tile it belongs to.
    DrawPoint drawnPlace() const;
};

// A fallen soldier's dead picture, its body and the cross over it, at `place` in tile units;
// for the fallen no longer in the World's list (entityDraw.cpp).
void drawFallenBody(int team, DrawPoint place, int t, double z, double ox, double oy);
