#include "net/Protocol.h"

#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <string_view>

#include "ai/Entity.h"
#include "base/Problem.h"
#include "world/BattleHash.h"
#include "world/JsonFields.h"
#include "world/OrderJson.h"
#include "world/Replay.h"
#include "world/World.h"

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

constexpr char kCodeAlphabet[] = "23456789abcdefghijkmnpqrstuvwxyz";  // 32: five bits a letter
constexpr std::size_t kMostTextBytes = 256;
constexpr int64_t kMostTurn = std::numeric_limits<int32_t>::max() / kTurnSteps - 1;

// A message's list of orders, each read as a replay reads its orders.
bool readOrders(JsonFields& fields, std::size_t most, std::vector<Order>& orders) {
    const auto found = fields.object().find("orders");
    if (found == fields.object().end() || !found->is_array()) {
        return fields.fail("'orders' must be a list");
    }
    if (found->size() > most) {
        return fields.fail("more than " + std::to_string(most) + " orders in one turn");
    }
    for (const Json& item : *found) {
        Order order;
        std::string why;
        if (!readOrderJson(item, why, order)) {
            return fields.fail("an order: " + why);
        }
        orders.push_back(std::move(order));
    }
    return true;
}

OrderedJson ordersJson(const std::vector<Order>& orders) {
    OrderedJson list = OrderedJson::array();
    for (const Order& order : orders) {
        list.push_back(orderAsJson(order));
    }
    return list;
}

// The message's object and its kind, or nothing with `error` set.
std::optional<Json> parseMessage(const std::string& text, std::size_t mostBytes, std::string& kind,
                                 std::string& error) {
    if (text.size() > mostBytes) {
        error = "a message larger than " + std::to_string(mostBytes) + " bytes";
        return std::nullopt;
    }
    if (!nestsNoDeeperThan(text, kMostMessageNesting)) {
        error = "a message nested too deep";
        return std::nullopt;
    }
    Json message = Json::parse(text, nullptr, false);
    if (message.is_discarded() || !message.is_object()) {
        error = "a message that is not a JSON object";
        return std::nullopt;
    }
    const auto found = message.find("kind");
    if (found == message.end() || !found->is_string()) {
        error = "a message without its kind";
        return std::nullopt;
    }
    kind = found->get<std::string>();
    return message;
}

bool readHello(JsonFields& fields, Hello& hello) {
    int64_t protocol = 0;
    if (!fields.onlyKeys({"kind", "protocol", "game", "room"}) ||
        !fields.integer("protocol", 0, std::numeric_limits<int32_t>::max(), protocol) ||
        !fields.text("game", kMostTextBytes, hello.game)) {
        return false;
    }
    hello.protocol = static_cast<int32_t>(protocol);
    if (fields.has("room") &&
        (!fields.text("room", kMostTextBytes, hello.room) || !isRoomCode(hello.room))) {
        return fields.fail("'room' is no room code");
    }
    return true;
}

bool readPlayerTurn(JsonFields& fields, PlayerTurn& turn) {
    return fields.onlyKeys({"kind", "turn", "orders", "hash"}) &&
           fields.integer("turn", kDelayTurns, kMostTurn, turn.turn) &&
           readOrders(fields, kMostOrdersPerTurn, turn.orders) && fields.hash("hash", turn.hash);
}

bool readStart(JsonFields& fields, BattleStart& start) {
    int64_t team = 0;
    int64_t seed = 0;
    int64_t tick = 0;
    int64_t steps = 0;
    int64_t delay = 0;
    if (!fields.onlyKeys(
            {"kind", "team", "room", "map", "seed", "tickMs", "turnSteps", "delayTurns"}) ||
        !fields.integer("team", 0, 1, team) || !fields.text("room", kMostTextBytes, start.room) ||
        !fields.text("map", kMostServerMessageBytes, start.map) ||
        !fields.integer("seed", 0, std::numeric_limits<uint32_t>::max(), seed) ||
        !fields.integer("tickMs", 1, 1000, tick) ||
        !fields.integer("turnSteps", kTurnSteps, kTurnSteps, steps) ||
        !fields.integer("delayTurns", kDelayTurns, kDelayTurns, delay)) {
        return false;
    }
    start.team = static_cast<int>(team);
    start.seed = static_cast<uint32_t>(seed);
    start.tickMs = static_cast<int32_t>(tick);
    start.turnSteps = static_cast<int32_t>(steps);
    start.delayTurns = static_cast<int32_t>(delay);
    return true;
}

bool readServerTurn(JsonFields& fields, ServerTurn& turn) {
    // Both players' orders and the server's hand-over.
    return fields.onlyKeys({"kind", "turn", "orders"}) &&
           fields.integer("turn", kDelayTurns, kMostTurn, turn.turn) &&
           readOrders(fields, 2 * kMostOrdersPerTurn + 2, turn.orders);
}

bool readLeft(JsonFields& fields, PlayerLeft& left) {
    int64_t team = 0;
    if (!fields.onlyKeys({"kind", "team", "turn"}) || !fields.integer("team", 0, 1, team) ||
        !fields.integer("turn", 0, kMostTurn, left.turn)) {
        return false;
    }
    left.team = static_cast<int>(team);
    return true;
}

bool readEnd(JsonFields& fields, BattleEnd& end) {
    return fields.onlyKeys({"kind", "reason", "step"}) &&
           fields.text("reason", kMostTextBytes, end.reason) &&
           fields.integer("step", 0, std::numeric_limits<int32_t>::max(), end.step);
}

}  // namespace

std::string helloMessage(const Hello& hello) {
    OrderedJson out;
    out["kind"] = "hello";
    out["protocol"] = hello.protocol;
    out["game"] = hello.game;
    if (!hello.room.empty()) {
        out["room"] = hello.room;
    }
    return out.dump();
}

std::string playerTurnMessage(const PlayerTurn& turn) {
    OrderedJson out;
    out["kind"] = "turn";
    out["turn"] = turn.turn;
    out["orders"] = ordersJson(turn.orders);
    out["hash"] = hashText(turn.hash);
    return out.dump();
}

std::string roomOpenedMessage(const RoomOpened& opened) {
    OrderedJson out;
    out["kind"] = "room";
    out["room"] = opened.room;
    out["link"] = opened.link;
    return out.dump();
}

std::string battleStartMessage(const BattleStart& start) {
    OrderedJson out;
    out["kind"] = "start";
    out["team"] = start.team;
    out["room"] = start.room;
    // Bytes beyond ASCII would not be UTF-8, which JSON must be; the map loader reads none.
    out["map"] = start.map;
    out["seed"] = start.seed;
    out["tickMs"] = start.tickMs;
    out["turnSteps"] = start.turnSteps;
    out["delayTurns"] = start.delayTurns;
    return out.dump(-1, ' ', false, OrderedJson::error_handler_t::replace);
}

std::string serverTurnMessage(const ServerTurn& turn) {
    OrderedJson out;
    out["kind"] = "turn";
    out["turn"] = turn.turn;
    out["orders"] = ordersJson(turn.orders);
    return out.dump();
}

std::string playerLeftMessage(const PlayerLeft& left) {
    OrderedJson out;
    out["kind"] = "left";
    out["team"] = left.team;
    out["turn"] = left.turn;
    return out.dump();
}

std::string battleEndMessage(const BattleEnd& end) {
    OrderedJson out;
    out["kind"] = "end";
    out["reason"] = end.reason;
    out["step"] = end.step;
    return out.dump(-1, ' ', false, OrderedJson::error_handler_t::replace);
}

std::string refusedMessage(const Refused& refused) {
    OrderedJson out;
    out["kind"] = "refused";
    out["reason"] = refused.reason;
    return out.dump(-1, ' ', false, OrderedJson::error_handler_t::replace);
}

std::optional<PlayerMessage> readPlayerMessage(const std::string& text, std::string& error) {
    std::string kind;
    const std::optional<Json> object = parseMessage(text, kMostPlayerMessageBytes, kind, error);
    if (!object) {
        return std::nullopt;
    }
    JsonFields fields(*object, error);
    PlayerMessage message;
    if (kind == "hello") {
        message.kind = PlayerMessage::Kind::Hello;
        return readHello(fields, message.hello) ? std::optional(message) : std::nullopt;
    }
    if (kind == "turn") {
        message.kind = PlayerMessage::Kind::Turn;
        return readPlayerTurn(fields, message.turn) ? std::optional(message) : std::nullopt;
    }
    error = "a message of unknown kind '" + printableExcerpt(kind) + "'";
    return std::nullopt;
}

std::optional<ServerMessage> readServerMessage(const std::string& text, std::string& error) {
    std::string kind;
    const std::optional<Json> object = parseMessage(text, kMostServerMessageBytes, kind, error);
    if (!object) {
        return std::nullopt;
    }
    JsonFields fields(*object, error);
    ServerMessage message;
    bool read = false;
    if (kind == "room") {
        message.kind = ServerMessage::Kind::RoomOpened;
        read = fields.onlyKeys({"kind", "room", "link"}) &&
               fields.text("room", kMostTextBytes, message.opened.room) &&
               fields.text("link", kMostTextBytes, message.opened.link);
    } else if (kind == "start") {
        message.kind = ServerMessage::Kind::Start;
        read = readStart(fields, message.start);
    } else if (kind == "turn") {
        message.kind = ServerMessage::Kind::Turn;
        read = readServerTurn(fields, message.turn);
    } else if (kind == "left") {
        message.kind = ServerMessage::Kind::Left;
        read = readLeft(fields, message.left);
    } else if (kind == "end") {
        message.kind = ServerMessage::Kind::End;
        read = readEnd(fields, message.end);
    } else if (kind == "refused") {
        message.kind = ServerMessage::Kind::Refused;
        read = fields.onlyKeys({"kind", "reason"}) &&
               fields.text("reason", kMostTextBytes, message.refused.reason);
    } else {
        error = "a message of unknown kind '" + printableExcerpt(kind) + "'";
    }
    return read ? std::optional(message) : std::nullopt;
}

bool isRoomCode(const std::string& code) {
    if (code.size() != kRoomCodeLength) {
        return false;
    }
    const std::string_view alphabet(kCodeAlphabet);
    for (const char c : code) {
        if (alphabet.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::string roomCodeOf(uint64_t bits) {
    std::string code;
    for (std::size_t i = 0; i < kRoomCodeLength; ++i) {
        code += kCodeAlphabet[bits & 31u];
        bits >>= 5;
    }
    return code;
}

std::string versusOrderProblem(const World& world, const Order& order, int team) {
    switch (order.kind) {
        case OrderKind::Move:
        case OrderKind::Pursue:
        case OrderKind::Advance:
        case OrderKind::Flee:
        case OrderKind::Explore:
        case OrderKind::ExploreAndEngage:
        case OrderKind::ToggleWall:
            break;
        default:
            return std::string("a ") + orderKindName(order.kind) +
                   " order, which a player of a versus battle cannot give";
    }
    if (order.giver != teamBit(team)) {
        return "an order given for the other team";
    }
    const std::string problem = orderProblem(world, order);
    if (!problem.empty()) {
        return problem;
    }
    for (const int32_t id : order.soldiers) {
        if (world.roster[static_cast<std::size_t>(id)]->team != team) {
            return "an order for soldier " + std::to_string(id) + " of the other team";
        }
    }
    return {};
}
