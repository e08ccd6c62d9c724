#include "Duel.h"

#include <sstream>

#include "ai/Entity.h"
#include "base/GameClock.h"
#include "world/Order.h"

namespace {

// A stream onto the duel's replay text, as a server hands each battle a file.
class ReplayView : public std::ostream {
public:
    explicit ReplayView(std::stringstream& replay) : std::ostream(replay.rdbuf()) {}
};

}  // namespace

Duel::Duel(const std::string& map)
    : host(Host::Settings{
          map, "the duel's map",
          [this](const std::string&) { return std::make_unique<ReplayView>(replay); },
          [this] { return bits = bits * 6364136223846793005u + 1442695040888963407u; }}) {
    for (int team = 0; team < 2; ++team) {
        players[team].id = static_cast<Host::ConnectionId>(team + 1);
        players[team].orders.seed(static_cast<unsigned>(100 + team));
        players[team].lastStep = 600;
    }
}

void Duel::deliver(const Host::Delivery& delivery) {
    for (Player& player : players) {
        if (player.connected && player.id == delivery.to) {
            player.session->receive(delivery.text);
            if (delivery.close) {
                refusals.push_back(delivery);
                player.connected = false;
                player.session->connectionLost(delivery.reason);
            }
        }
    }
}

void Duel::pump() {
    for (int round = 0; round < 100; ++round) {
        bool moved = false;
        for (Player& player : players) {
            if (!player.connected) {
                continue;
            }
            for (const std::string& text : player.session->takeOutgoing()) {
                host.received(player.id, text, nowMs);
                moved = true;
            }
        }
        for (const Host::Delivery& delivery : host.takeDeliveries()) {
            deliver(delivery);
            moved = true;
        }
        // A player's battle is loaded when its start arrives, as a client loads it.
        for (Player& player : players) {
            if (player.session != nullptr && player.world == nullptr &&
                player.session->phase() == VersusSession::Phase::Playing) {
                const BattleStart& start = player.session->start();
                setSimulatedClock(0);
                fixGameSeed(start.seed);
                player.world = std::make_unique<World>();
                std::istringstream map(start.map);
                player.world->loadMap(map, "the server's map");
                player.world->commandedTeams = kBothTeams;
                player.world->computeFogs();
                player.random = gameRandomState();
            }
        }
        if (!moved) {
            return;
        }
    }
}

void Duel::start() {
    players[0].session = std::make_unique<VersusSession>("");
    players[0].connected = true;
    host.connected(players[0].id, "http://127.0.0.1:8080", nowMs);
    host.received(players[0].id, players[0].session->hello(), nowMs);
    pump();
    players[1].session = std::make_unique<VersusSession>(players[0].session->room().room);
    players[1].connected = true;
    host.connected(players[1].id, "http://127.0.0.1:8080", nowMs);
    host.received(players[1].id, players[1].session->hello(), nowMs);
    pump();
}

void Duel::leave(Player& player) {
    player.connected = false;
    player.session->leave();
    host.disconnected(player.id, nowMs);
    pump();
}

bool Duel::stepOnce(Player& player, const std::function<void(Player&)>& beforeStep) {
    VersusSession& session = *player.session;
    if (!player.connected || session.stepsTaken() >= player.lastStep || !session.mayStep()) {
        return false;
    }
    restoreGameRandomState(player.random);
    if (beforeStep) {
        beforeStep(player);
    }
    for (const Order& order : session.takeTurnOrders()) {
        applyOrder(*player.world, order);
    }
    setSimulatedClock(static_cast<int32_t>((session.stepsTaken() + 1) * session.start().tickMs));
    player.world->step();
    session.stepped(*player.world);
    player.random = gameRandomState();
    return true;
}

void Duel::run(const std::function<void(Player&)>& beforeStep) {
    for (int round = 0; round < 1000000; ++round) {
        bool stepped = false;
        for (Player& player : players) {
            stepped = stepOnce(player, beforeStep) || stepped;
        }
        pump();
        nowMs += 16;
        host.tick(nowMs);
        pump();
        if (!stepped) {
            return;
        }
    }
}

void Duel::giveRandomOrder(Player& player) {
    const int team = player.session->team();
    std::vector<int32_t> mine;
    std::vector<int32_t> theirs;
    for (const Entity* soldier : player.world->entities) {
        if (soldier->health > 0) {
            (soldier->team == team ? mine : theirs).push_back(player.world->idOf(soldier));
        }
    }
    if (mine.empty()) {
        return;
    }
    Order order;
    order.soldiers.push_back(mine[player.orders() % mine.size()]);
    switch (player.orders() % 3) {
        case 0:
            order.kind = OrderKind::Move;
            order.column = static_cast<int32_t>(player.orders() % player.world->columns);
            order.row = static_cast<int32_t>(player.orders() % player.world->rows);
            break;
        case 1:
            if (theirs.empty()) {
                return;
            }
            order.kind = OrderKind::Pursue;
            order.target = theirs[player.orders() % theirs.size()];
            break;
        default:
            order.kind = OrderKind::ExploreAndEngage;
            break;
    }
    player.session->give(order);
}
