#include <algorithm>
#include <utility>

#include "ai/Entity.h"
#include "gfx/ResourceCatalogue.h"
#include "net/Protocol.h"
#include "net/VersusSession.h"
#include "play/ZOL_MainState.h"
#include "world/World.h"

namespace {

// The teams whose soldiers the player of a view may order.
uint32_t giverInView(int viewMode) {
    return viewMode == ViewMode::All ? kBothTeams : commandedTeamsInView(viewMode);
}

}  // namespace

void ZOL_MainState::toggleSelection(Entity* entity) {
    const auto found = std::find(selection.rbegin(), selection.rend(), entity);
    if (found != selection.rend()) {
        selection.erase(std::next(found).base());
    } else {
        selection.push_back(entity);
    }
}

Order ZOL_MainState::playerOrder(int kind) const {
    Order order;
    order.kind = kind;
    order.giver = giverInView(ResourceCatalogue::instance()->viewMode);
    return order;
}

Order ZOL_MainState::selectionOrder(int kind) const {
    Order order = playerOrder(kind);
    order.soldiers.reserve(selection.size());
    for (const Entity* entity : selection) {
        order.soldiers.push_back(world->idOf(entity));
    }
    return order;
}

void ZOL_MainState::orderSelection(int kind) {
    if (!selection.empty()) {
        giveOrder(selectionOrder(kind));
    }
}

void ZOL_MainState::orderSelectionTo(int kind, int column, int row) {
    if (selection.empty()) {
        return;
    }
    Order order = selectionOrder(kind);
    order.column = column;
    order.row = row;
    giveOrder(order);
}

void ZOL_MainState::orderSelectionToPursue(const Entity& target) {
    if (selection.empty()) {
        return;
    }
    Order order = selectionOrder(OrderKind::Pursue);
    order.target = world->idOf(&target);
    giveOrder(order);
}

void ZOL_MainState::giveOrder(const Order& order) {
    if (orderObserver_) {
        orderObserver_(order, battleSteps + 1);
    }
    if (versus_ != nullptr) {
        giveVersusOrder(order);
        return;
    }
    applyOrder(*world, order);
}

// The server refuses a player who orders the other team's soldiers; a click that caught some
// in the selection leaves them out here instead, and an order that is none of the player's to
// give goes nowhere.
void ZOL_MainState::giveVersusOrder(Order order) {
    const int team = versus_->team();
    order.giver = teamBit(team);
    std::erase_if(order.soldiers, [&](int32_t id) {
        const Entity* soldier = world->soldierById(id);
        return soldier == nullptr || soldier->team != team;
    });
    const bool needsSoldiers = order.kind != OrderKind::ToggleWall;
    if ((needsSoldiers && order.soldiers.empty()) ||
        !versusOrderProblem(*world, order, team).empty()) {
        return;
    }
    versus_->give(std::move(order));
}

void ZOL_MainState::setOrderObserver(OrderObserver observer) {
    orderObserver_ = std::move(observer);
}
