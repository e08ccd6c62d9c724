#include "world/Order.h"

#include <climits>

#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "world/World.h"

namespace {

constexpr int kHealthStep = 5;

bool isLiving(const Entity& entity) {
    return entity.health > 0 && entity.state != EntityState::Dead;
}

// The soldiers an order reaches, in the order it names them: known, of a team the giver may
// order, living unless `deadToo`, and each once, so that an order read from a file with an id
// written twice does what it would with the id once.
std::vector<Entity*> reachedSoldiers(const World& world, const Order& order, bool deadToo) {
    std::vector<Entity*> reached;
    std::vector<bool> named(world.roster.size(), false);
    for (const int32_t id : order.soldiers) {
        Entity* const entity = world.soldierById(id);
        if (entity == nullptr || named[static_cast<std::size_t>(id)] ||
            !isTeamIn(order.giver, entity->team) || (!deadToo && !isLiving(*entity))) {
            continue;
        }
        named[static_cast<std::size_t>(id)] = true;
        reached.push_back(entity);
    }
    return reached;
}

bool isInGrid(const World& world, int column, int row) {
    return column >= 0 && column < world.columns && row >= 0 && row < world.rows;
}

void walkTo(const World& world, const Order& order, int state) {
    if (!isInGrid(world, order.column, order.row)) {
        return;
    }
    for (Entity* const entity : reachedSoldiers(world, order, false)) {
        entity->requestPath(order.column, order.row);
        entity->state = state;
    }
}

void pursue(const World& world, const Order& order) {
    Entity* const target = world.soldierById(order.target);
    if (target == nullptr || !isLiving(*target)) {
        return;
    }
    for (Entity* const entity : reachedSoldiers(world, order, false)) {
        entity->target = target;
        entity->state = EntityState::Pursue;
    }
}

void setState(const World& world, const Order& order, int state) {
    for (Entity* const entity : reachedSoldiers(world, order, false)) {
        entity->state = state;
    }
}

// The dead are hit too: a body keeps losing health while it is still struck.
void damage(const World& world, const Order& order) {
    for (Entity* const entity : reachedSoldiers(world, order, true)) {
        // Struck for long enough a body's health would otherwise wrap around.
        entity->health =
            entity->health >= INT_MIN + kHealthStep ? entity->health - kHealthStep : INT_MIN;
        if (entity->health <= 0) {
            entity->kill();
        }
    }
}

// Dead stays dead: a healed body would count as alive while its state stays dead, and once
// dropped from the World's list it would stand as an invisible ghost.
void heal(const World& world, const Order& order) {
    for (Entity* const entity : reachedSoldiers(world, order, false)) {
        entity->health =
            entity->health > kFullHealth - kHealthStep ? kFullHealth : entity->health + kHealthStep;
    }
}

}  // namespace

uint32_t commandedTeamsInView(int viewMode) {
    switch (viewMode) {
        case ViewMode::Red:
            return teamBit(Team::Red);
        case ViewMode::Blue:
            return teamBit(Team::Blue);
        default:
            return kNoTeams;
    }
}

void applyOrder(World& world, const Order& order) {
    switch (order.kind) {
        case OrderKind::Move:
            walkTo(world, order, EntityState::Move);
            break;
        case OrderKind::Pursue:
            pursue(world, order);
            break;
        case OrderKind::Advance:
            walkTo(world, order, EntityState::Advance);
            break;
        case OrderKind::Flee:
            setState(world, order, EntityState::Flee);
            break;
        case OrderKind::Explore:
            setState(world, order, EntityState::Explore);
            break;
        case OrderKind::ExploreAndEngage:
            setState(world, order, EntityState::ExploreAndEngage);
            break;
        case OrderKind::ToggleWall:
            world.toggleTile(order.column, order.row);
            break;
        case OrderKind::ClearRoutes:
            world.clearPaths();
            break;
        case OrderKind::Damage:
            damage(world, order);
            break;
        case OrderKind::Heal:
            heal(world, order);
            break;
        case OrderKind::SwitchView:
            world.commandedTeams = order.commandedTeams;
            world.clearPaths();
            break;
        case OrderKind::HandOver:
            // A player has gone: their soldiers fight on their own, on the routes they have.
            world.commandedTeams = order.commandedTeams;
            break;
        default:
            break;
    }
}
