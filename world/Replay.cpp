#include "world/Replay.h"

#include <array>
#include <istream>
#include <limits>
#include <nlohmann/json.hpp>
#include <string_view>

#include "base/Problem.h"
#include "world/BattleHash.h"
#include "world/JsonFields.h"
#include "world/OrderJson.h"
#include "world/World.h"

namespace {

using Json = nlohmann::json;
// Written with its keys in the order they are set, so a line reads as documented.
using OrderedJson = nlohmann::ordered_json;

constexpr int64_t kMostInt32 = std::numeric_limits<int32_t>::max();
// More soldiers than the largest map has tiles cannot be named.
constexpr int64_t kMostSoldierId = 1024 * 1024 - 1;
constexpr std::size_t kMostSoldiersPerOrder = 1024 * 1024;
constexpr std::size_t kMostVersionLength = 64;

const std::array<const char*, OrderKind::Count> kKindNames = {
    "move",        "pursue",       "advance", "flee", "explore",     "explore-engage",
    "toggle-wall", "clear-routes", "damage",  "heal", "switch-view", "hand-over"};

// JSON strings are Unicode and the map is bytes: each byte is written as the code point of
// the same number, so that any byte a map file holds comes back unchanged.
std::string bytesAsUtf8(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xc0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3f));
        }
    }
    return text;
}

// The parser has checked the UTF-8 already; only code points above one byte are refused.
std::optional<std::string> utf8AsBytes(const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            bytes += text[i];
        } else if ((lead == 0xc2 || lead == 0xc3) && i + 1 < text.size()) {
            const auto trail = static_cast<unsigned char>(text[++i]);
            bytes += static_cast<char>(((lead & 0x03) << 6) | (trail & 0x3f));
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

OrderedJson orderJson(const Order& order) {
    OrderedJson out;
    out["kind"] = order.kind;
    out["giver"] = order.giver;
    out["soldiers"] = order.soldiers;
    if (orderHasTile(order.kind)) {
        out["tile"] = {order.column, order.row};
    }
    if (orderHasTarget(order.kind)) {
        out["target"] = order.target;
    }
    if (orderHasCommandedTeams(order.kind)) {
        out["commanded"] = order.commandedTeams;
    }
    return out;
}

bool readSoldiers(const Json& list, JsonFields& reader, std::vector<int32_t>& soldiers) {
    if (!list.is_array() || list.size() > kMostSoldiersPerOrder) {
        return reader.fail("'soldiers' must be a list of at most " +
                           std::to_string(kMostSoldiersPerOrder) + " ids");
    }
    soldiers.reserve(list.size());
    for (const Json& item : list) {
        int64_t id = 0;
        if (!reader.integerIn(item, "soldiers", 0, kMostSoldierId, id)) {
            return false;
        }
        soldiers.push_back(static_cast<int32_t>(id));
    }
    return true;
}

bool readTile(const Json& tile, JsonFields& reader, Order& order) {
    int64_t column = 0;
    int64_t row = 0;
    if (!tile.is_array() || tile.size() != 2) {
        return reader.fail("'tile' must be [column, row]");
    }
    if (!reader.integerIn(tile[0], "tile", 0, kMostInt32, column) ||
        !reader.integerIn(tile[1], "tile", 0, kMostInt32, row)) {
        return false;
    }
    order.column = static_cast<int32_t>(column);
    order.row = static_cast<int32_t>(row);
    return true;
}

bool readOrder(const Json& item, std::string& error, Order& order) {
    if (!item.is_object()) {
        error = "an order must be an object";
        return false;
    }
    JsonFields reader(item, error);
    int64_t kind = 0;
    int64_t giver = 0;
    if (!reader.integer("kind", 0, OrderKind::Count - 1, kind) ||
        !reader.integer("giver", 0, kBothTeams, giver)) {
        return false;
    }
    order.kind = static_cast<int32_t>(kind);
    order.giver = static_cast<uint32_t>(giver);
    const bool tile = orderHasTile(order.kind);
    const bool target = orderHasTarget(order.kind);
    const bool commanded = orderHasCommandedTeams(order.kind);
    if (!reader.onlyKeys({"kind", "giver", "soldiers", tile ? "tile" : "kind",
                          target ? "target" : "kind", commanded ? "commanded" : "kind"})) {
        return false;
    }
    if (!reader.has("soldiers")) {
        return reader.fail("no 'soldiers'");
    }
    if (!readSoldiers(item["soldiers"], reader, order.soldiers)) {
        return false;
    }
    if (tile && (!reader.has("tile") || !readTile(item["tile"], reader, order))) {
        return reader.fail("no 'tile'");
    }
    int64_t value = 0;
    if (target) {
        if (!reader.integer("target", 0, kMostSoldierId, value)) {
            return false;
        }
        order.target = static_cast<int32_t>(value);
    }
    if (commanded) {
        if (!reader.integer("commanded", 0, kBothTeams, value)) {
            return false;
        }
        order.commandedTeams = static_cast<uint32_t>(value);
    }
    return true;
}

bool readHeader(const Json& line, std::string& error, ReplayHeader& header) {
    JsonFields reader(line, error);
    int64_t format = 0;
    if (!reader.integer("format", 0, kMostInt32, format)) {
        return false;
    }
    if (format != kReplayFormat) {
        return reader.fail("format " + std::to_string(format) + ", this game reads format " +
                           std::to_string(kReplayFormat));
    }
    int64_t seed = 0;
    int64_t tickMs = 0;
    int64_t commanded = 0;
    int64_t hashEvery = 0;
    std::string map;
    if (!reader.onlyKeys({"format", "game", "map", "seed", "tickMs", "commanded", "hashEvery"}) ||
        !reader.text("game", kMostVersionLength, header.game) ||
        !reader.text("map", 2 * kMostMapBytes, map) ||
        !reader.integer("seed", 0, std::numeric_limits<uint32_t>::max(), seed) ||
        !reader.integer("tickMs", 0, kMostInt32, tickMs) ||
        !reader.integer("commanded", 0, kBothTeams, commanded) ||
        !reader.integer("hashEvery", 1, kMostInt32, hashEvery)) {
        return false;
    }
    const std::optional<std::string> bytes = utf8AsBytes(map);
    if (!bytes) {
        return reader.fail("'map' holds a character beyond one byte");
    }
    if (bytes->size() > kMostMapBytes) {
        return reader.fail("'map' is larger than " + std::to_string(kMostMapBytes) + " bytes");
    }
    header.format = static_cast<int32_t>(format);
    header.map = *bytes;
    header.seed = static_cast<uint32_t>(seed);
    header.tickMs = static_cast<int32_t>(tickMs);
    header.commandedTeams = static_cast<uint32_t>(commanded);
    header.hashEvery = static_cast<int32_t>(hashEvery);
    return true;
}

// What the lines after the header have said so far, to check each against.
struct Progress {
    int32_t lastOrderStep = 0;
    int32_t lastHashStep = -1;
    bool ended = false;
    int32_t line = 0;  // the number of the line being read
};

bool readOrdersLine(const Json& line, JsonFields& reader, std::string& error, Progress& progress,
                    Replay& replay) {
    int64_t step = 0;
    if (!reader.onlyKeys({"step", "orders"}) || !reader.integer("step", 1, kMostInt32, step)) {
        return false;
    }
    if (step <= progress.lastOrderStep || step <= progress.lastHashStep) {
        return reader.fail("orders of step " + std::to_string(step) + " come after step " +
                           std::to_string(std::max(progress.lastOrderStep, progress.lastHashStep)));
    }
    const Json& list = line["orders"];
    if (!list.is_array() || list.empty() || list.size() > kMostOrdersPerStep) {
        return reader.fail("'orders' must be a list of 1 to " + std::to_string(kMostOrdersPerStep) +
                           " orders");
    }
    StepOrders orders;
    orders.step = static_cast<int32_t>(step);
    orders.line = progress.line;
    for (const Json& item : list) {
        Order order;
        if (!readOrder(item, error, order)) {
            error = "order " + std::to_string(orders.orders.size() + 1) + ": " + error;
            return false;
        }
        orders.orders.push_back(std::move(order));
    }
    progress.lastOrderStep = orders.step;
    replay.orders.push_back(std::move(orders));
    return true;
}

bool readHashLine(JsonFields& reader, Progress& progress, Replay& replay) {
    int64_t step = 0;
    StepHash hash;
    if (!reader.onlyKeys({"step", "hash"}) || !reader.integer("step", 0, kMostInt32, step) ||
        !reader.hash("hash", hash.hash)) {
        return false;
    }
    // The orders of a step apply before it, its hash is taken after it.
    if (step <= progress.lastHashStep || step < progress.lastOrderStep) {
        return reader.fail("the hash of step " + std::to_string(step) + " is out of order");
    }
    hash.step = static_cast<int32_t>(step);
    progress.lastHashStep = hash.step;
    replay.hashes.push_back(hash);
    return true;
}

bool readEndLine(JsonFields& reader, Progress& progress, Replay& replay) {
    int64_t steps = 0;
    if (!reader.onlyKeys({"end", "reason"}) || !reader.integer("end", 0, kMostInt32, steps)) {
        return false;
    }
    if (reader.has("reason") && !reader.text("reason", kMostEndReasonBytes, replay.endReason)) {
        return false;
    }
    if (steps < progress.lastOrderStep || steps < progress.lastHashStep) {
        return reader.fail("the battle ends at step " + std::to_string(steps) +
                           ", before the lines above it");
    }
    // The clock is a 32-bit millisecond count; the last step must still fit in it.
    if (steps * replay.header.tickMs > kMostInt32) {
        return reader.fail("steps x tickMs must stay within " + std::to_string(kMostInt32) + " ms");
    }
    replay.steps = static_cast<int32_t>(steps);
    progress.ended = true;
    return true;
}

bool readBodyLine(const Json& line, std::string& error, Progress& progress, Replay& replay) {
    JsonFields reader(line, error);
    if (progress.ended) {
        return reader.fail("a line after the end line");
    }
    if (reader.has("orders")) {
        return readOrdersLine(line, reader, error, progress, replay);
    }
    if (reader.has("hash")) {
        return readHashLine(reader, progress, replay);
    }
    if (reader.has("end")) {
        return readEndLine(reader, progress, replay);
    }
    return reader.fail("neither orders, a hash nor the end");
}

// A replay's lines nest four deep at most (a line, its orders, an order, its soldiers); a
// deeper line is refused before a document is built of it, which for millions of brackets
// would take seconds and hundreds of megabytes.
constexpr int kMostNesting = 8;

bool nestsWithin(std::string_view text, int most) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            i += c == '\\' ? 1 : 0;
            inString = c != '"';
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > most) {
                return false;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

// Reads at most one byte more than the bound, so a huge file is refused without being held.
bool readBounded(std::istream& in, std::string& bytes) {
    bytes.clear();
    std::array<char, 65536> buffer;
    while (in && bytes.size() <= kMostReplayBytes) {
        in.read(buffer.data(), buffer.size());
        bytes.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
    }
    return bytes.size() <= kMostReplayBytes && !in.bad();
}

}  // namespace

const char* gameVersion() {
    return DROMLIN_GAME_VERSION;
}

std::string replayHeaderLine(const ReplayHeader& header) {
    OrderedJson out;
    out["format"] = header.format;
    out["game"] = header.game;
    out["map"] = bytesAsUtf8(header.map);
    out["seed"] = header.seed;
    out["tickMs"] = header.tickMs;
    out["commanded"] = header.commandedTeams;
    out["hashEvery"] = header.hashEvery;
    return out.dump();
}

std::string replayOrdersLine(const StepOrders& orders) {
    OrderedJson out;
    out["step"] = orders.step;
    out["orders"] = OrderedJson::array();
    for (const Order& order : orders.orders) {
        out["orders"].push_back(orderJson(order));
    }
    return out.dump();
}

std::string replayHashLine(const StepHash& hash) {
    OrderedJson out;
    out["step"] = hash.step;
    out["hash"] = hashText(hash.hash);
    return out.dump();
}

std::string replayEndLine(int32_t steps, const std::string& reason) {
    OrderedJson out;
    out["end"] = steps;
    if (!reason.empty()) {
        out["reason"] = reason.substr(0, kMostEndReasonBytes);
    }
    return out.dump();
}

nlohmann::ordered_json orderAsJson(const Order& order) {
    return orderJson(order);
}

bool readOrderJson(const nlohmann::json& item, std::string& error, Order& order) {
    return readOrder(item, error, order);
}

bool nestsNoDeeperThan(std::string_view text, int most) {
    return nestsWithin(text, most);
}

std::optional<Replay> readReplay(std::istream& in, std::string& error) {
    std::string bytes;
    if (!readBounded(in, bytes)) {
        error = bytes.size() > kMostReplayBytes
                    ? "larger than " + std::to_string(kMostReplayBytes >> 20) + " MiB"
                    : "cannot be read";
        return std::nullopt;
    }
    Replay replay;
    Progress progress;
    std::size_t start = 0;
    int32_t number = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end;
        std::size_t last = end;
        if (last > start && bytes[last - 1] == '\r') {
            --last;
        }
        ++number;
        const std::size_t most = number == 1 ? kMostHeaderLineBytes : kMostLineBytes;
        if (last - start > most) {
            error = "line " + std::to_string(number) + ": longer than " + std::to_string(most) +
                    " bytes";
            return std::nullopt;
        }
        if (!nestsWithin(std::string_view(bytes).substr(start, last - start), kMostNesting)) {
            error = "line " + std::to_string(number) + ": nested deeper than " +
                    std::to_string(kMostNesting);
            return std::nullopt;
        }
        const Json line =
            Json::parse(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                        bytes.begin() + static_cast<std::ptrdiff_t>(last), nullptr, false);
        start = end + 1;
        error.clear();
        bool good = false;
        if (line.is_discarded() || !line.is_object()) {
            error = "not a JSON object";
        } else if (number == 1) {
            good = readHeader(line, error, replay.header);
        } else {
            progress.line = number;
            good = readBodyLine(line, error, progress, replay);
        }
        if (!good) {
            error = "line " + std::to_string(number) + ": " + error;
            return std::nullopt;
        }
    }
    if (number == 0) {
        error = "empty";
        return std::nullopt;
    }
    if (!progress.ended) {
        error = "no end line: the replay is cut short";
        return std::nullopt;
    }
    return replay;
}

std::string orderProblem(const World& world, const Order& order) {
    const auto inRoster = [&world](int32_t id) {
        return id >= 0 && static_cast<std::size_t>(id) < world.roster.size();
    };
    if (order.kind < 0 || order.kind >= OrderKind::Count) {
        return "kind " + std::to_string(order.kind) + " is no order";
    }
    if (order.giver > kBothTeams || order.commandedTeams > kBothTeams) {
        return "a team set beyond both teams";
    }
    for (const int32_t id : order.soldiers) {
        if (!inRoster(id)) {
            return "soldier " + std::to_string(id) + " is not in the battle";
        }
    }
    if (orderHasTarget(order.kind) && !inRoster(order.target)) {
        return "target " + std::to_string(order.target) + " is not in the battle";
    }
    if (orderHasTile(order.kind) && !world.tiles.contains(order.column, order.row)) {
        return "tile " + std::to_string(order.column) + " " + std::to_string(order.row) +
               " is off the map";
    }
    return {};
}

const char* orderKindName(int32_t kind) {
    return kind >= 0 && kind < OrderKind::Count ? kKindNames[static_cast<std::size_t>(kind)] : "";
}

int32_t orderKindNamed(const std::string& name) {
    for (std::size_t kind = 0; kind < kKindNames.size(); ++kind) {
        if (name == kKindNames[kind]) {
            return static_cast<int32_t>(kind);
        }
    }
    return -1;
}

bool orderHasTile(int32_t kind) {
    return kind == OrderKind::Move || kind == OrderKind::Advance || kind == OrderKind::ToggleWall;
}

bool orderHasTarget(int32_t kind) {
    return kind == OrderKind::Pursue;
}

bool orderHasCommandedTeams(int32_t kind) {
    return kind == OrderKind::SwitchView || kind == OrderKind::HandOver;
}
