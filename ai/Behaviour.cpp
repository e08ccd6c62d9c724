#include <cmath>
#include <cstdint>

#include "ai/Entity.h"
#include "ai/Flee.h"
#include "base/GameClock.h"
#include "base/TileOf.h"
#include "world/World.h"

namespace {

constexpr int kHealthToFleePursuer = 50;
constexpr int kHealthToFleeAnyone = 30;
constexpr double kFollowDistance = 2.0;
constexpr int kDecisionsBetweenScans = 5;

// Milliseconds since `then`, wrapping like the 32-bit clock it comes from rather than
// overflowing.
int32_t elapsedSince(int32_t then) {
    return static_cast<int32_t>(static_cast<uint32_t>(gameClock()) - static_cast<uint32_t>(then));
}

void decidePursue(Entity& e) {
    if (e.target == nullptr) {
        e.action = EntityAction::Walk;
        return;
    }
    if (e.target->health <= 0) {
        e.state = EntityState::Idle;
        e.action = EntityAction::Continue;
        return;
    }
    const int tx = tileOf(e.target->x);
    const int ty = tileOf(e.target->y);
    if (tx != e.goalX || ty != e.goalY) {
        e.requestPath(tx, ty);
    }
    e.action = EntityAction::Walk;
    const double d = distance(e.x, e.y, e.goalX, e.goalY);
    if (e.target->team == e.team) {
        if (d < kFollowDistance) {
            e.action = EntityAction::Continue;
        }
        return;
    }
    if (d < e.currentWeapon->range && e.canSeePoint(tx, ty)) {
        e.halted = true;
        e.action = EntityAction::Attack;
    }
}

void decideAdvance(Entity& e) {
    if (e.target != nullptr && e.target->health <= 0) {
        e.state = EntityState::Idle;
        e.action = EntityAction::Continue;
        return;
    }
    if (e.target != nullptr && e.isTargetSpotted()) {
        const double d = distance(e.x, e.y, std::trunc(e.target->x), std::trunc(e.target->y));
        if (d <= e.currentWeapon->range) {
            e.action = EntityAction::Attack;
            e.halted = true;
            return;
        }
    }
    if (!e.justScanned && e.scanCounter > kDecisionsBetweenScans) {
        e.scanCounter = 0;
        e.justScanned = true;
        e.action = EntityAction::Scan;
        return;
    }
    e.scanCounter += 1;
    e.justScanned = false;
    if (e.path == nullptr) {
        e.state = EntityState::Idle;
        e.action = EntityAction::Continue;
    } else {
        e.action = EntityAction::Walk;
    }
}

void decideMove(Entity& e) {
    e.target = nullptr;
    if (e.path != nullptr) {
        e.action = EntityAction::Walk;
    } else {
        e.state = EntityState::Idle;
        e.action = EntityAction::Continue;
    }
}

void decideIdle(Entity& e, bool autonomous) {
    e.action = EntityAction::Continue;
    if (!autonomous) {
        return;
    }
    e.target = nullptr;
    e.acquireTarget();
    if (e.target != nullptr) {
        e.state = EntityState::Fight;
        e.action = EntityAction::Attack;
    } else {
        e.state = EntityState::Explore;
    }
}

void decideExplore(Entity& e, int stateOnceGoalSet) {
    e.pickFrontierTile();
    if (e.goalX != -1.0) {
        e.state = stateOnceGoalSet;
        e.action = EntityAction::Walk;
    }
}

void decideReposition(Entity& e) {
    e.action = EntityAction::Walk;
    if (e.x == e.rallyX && e.y == e.rallyY) {
        e.state = EntityState::Fight;
        e.action = EntityAction::Attack;
    }
}

}  // namespace

void Entity::update() {
    if (health <= 0) {
        return;
    }
    sinceUpdate = elapsedSince(lastUpdateTime);
    sinceShot = elapsedSince(lastShotTime);
    sinceReload = elapsedSince(lastReloadTime);
    if (static_cast<double>(sinceUpdate) > thinkInterval) {
        decide();
        switch (action) {
            case EntityAction::Attack:
                attack();
                break;
            case EntityAction::Walk:
                halted = false;
                break;
            case EntityAction::Scan:
                acquireTarget();
                break;
            default:
                break;
        }
    }
    if (!halted) {
        followPath();
    } else {
        // A halted soldier keeps its hop progress full, so it hops at once when it walks on.
        if (moveProgress < 1.0) {
            moveProgress += speed;
        }
        if (moveProgress > 1.0) {
            moveProgress = 1.0;
        }
    }
    lastUpdateTime = gameClock();
}

void Entity::decide() {
    action = EntityAction::Continue;
    // A commanded team waits for orders instead of running off on its own.
    const bool autonomous = world == nullptr || !world->isCommanded(team);
    const bool pursuedWhenHurt = autonomous && health < kHealthToFleePursuer && isPursuedByEnemy();
    if (pursuedWhenHurt) {
        state = EntityState::Flee;
    }
    const bool targetedWhenBadlyHurt =
        autonomous && health < kHealthToFleeAnyone && isTargetedByEnemy();
    if (targetedWhenBadlyHurt) {
        state = EntityState::Flee;
    }
    switch (state) {
        case EntityState::Pursue:
            decidePursue(*this);
            break;
        case EntityState::Flee:
            decideFlee(*this, pursuedWhenHurt, targetedWhenBadlyHurt);
            break;
        case EntityState::Advance:
            decideAdvance(*this);
            break;
        case EntityState::Move:
            decideMove(*this);
            break;
        case EntityState::Fight:
            action = EntityAction::Attack;
            break;
        case EntityState::Idle:
            decideIdle(*this, autonomous);
            break;
        case EntityState::Explore:
            decideExplore(*this, EntityState::Move);
            break;
        case EntityState::ExploreAndEngage:
            decideExplore(*this, EntityState::Advance);
            break;
        case EntityState::Reposition:
            decideReposition(*this);
            break;
        default:
            break;
    }
}
