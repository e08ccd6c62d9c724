#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "world/Order.h"

struct World;

// A replay file: JSON lines (docs/replays.md). A header, then in step order one line for each
// step that has orders, a hash line every `hashEvery` steps, and an end line.

// The file format's version; a reader refuses any other.
constexpr int32_t kReplayFormat = 1;
// A hash line every second of play at the game's 16 ms step.
constexpr int32_t kDefaultHashEvery = 60;
// A replay larger than this is refused before it is read in full; a busy battle's hour is a
// small part of it.
constexpr std::size_t kMostReplayBytes = 64u << 20;
// The map a replay can carry, at most: the largest map the loader takes, 1024 x 1024 tiles
// with a line end after each row, is half of it.
constexpr std::size_t kMostMapBytes = 2u << 20;
// The longest lines read: the header, whose map may grow six-fold as JSON escapes its bytes,
// and any other, so that no line can build a document larger than a few times its size.
constexpr std::size_t kMostHeaderLineBytes = 6 * kMostMapBytes + 4096;
constexpr std::size_t kMostLineBytes = 4u << 20;
// The end line's note on why the battle ended, at most.
constexpr std::size_t kMostEndReasonBytes = 256;
// Orders given before one step, at most.
constexpr std::size_t kMostOrdersPerStep = 4096;

// This game's version, which the replays it records carry.
const char* gameVersion();

struct ReplayHeader {
    int32_t format = kReplayFormat;
    std::string game = gameVersion();  // the version of the game that recorded it
    std::string map;                   // the map file's text, byte for byte
    uint32_t seed = 1;
    int32_t tickMs = 16;  // simulated milliseconds per step
    uint32_t commandedTeams = kNoTeams;
    int32_t hashEvery = kDefaultHashEvery;
};

// The orders given before one step, in the order they were given.
struct StepOrders {
    int32_t step = 0;
    std::vector<Order> orders;
    int32_t line = 0;  // where they were read, for messages; 0 when not read from a file
};

// The battle's hash after a step (step 0: after loading, before the first step).
struct StepHash {
    int32_t step = 0;
    uint64_t hash = 0;
};

struct Replay {
    ReplayHeader header;
    std::vector<StepOrders> orders;  // steps strictly increasing, within 1 .. steps
    std::vector<StepHash> hashes;    // steps strictly increasing, within 0 .. steps
    int32_t steps = 0;               // from the end line
    std::string endReason;           // why it ended, when the recorder said ("out of sync ...")
};

std::string replayHeaderLine(const ReplayHeader& header);
std::string replayOrdersLine(const StepOrders& orders);
std::string replayHashLine(const StepHash& hash);
std::string replayEndLine(int32_t steps, const std::string& reason = {});

// Reads a whole replay and checks every field for its type and range, every count and size
// against its bound, and the lines for their order. Orders are checked on their own, not
// against the battle: see orderProblem. On any fault returns nothing and sets `error` to one
// line (with the line number) saying what is wrong.
std::optional<Replay> readReplay(std::istream& in, std::string& error);

// What makes an order unusable in this battle (a soldier or target not in the roster, a tile
// off the grid, a team set beyond both teams), or an empty string when it fits.
std::string orderProblem(const World& world, const Order& order);

// The name an order kind has in messages and order lists ("move", "toggle-wall"), and back;
// -1 for a name that is none.
const char* orderKindName(int32_t kind);
int32_t orderKindNamed(const std::string& name);

// Which of tile, target and commanded teams an order of this kind carries.
bool orderHasTile(int32_t kind);
bool orderHasTarget(int32_t kind);
bool orderHasCommandedTeams(int32_t kind);
