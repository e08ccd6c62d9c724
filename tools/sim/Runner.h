#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "Options.h"

struct World;

// A battle without a window: the World the game would hold, driven on a simulated clock.
class Battle {
public:
    // Does what the game does before its first frame, with the chosen seed fixed instead of
    // the time's: sets the clock to 0, fixes gameRand()'s seed and sets the view mode.
    explicit Battle(const RunOptions& options);
    ~Battle();

    // Builds the World and loads the map; false when the map cannot be loaded (the loader has
    // printed why). Then computes both teams' fog once, as the game's first frame draws before
    // its first update. The viewed team is the one that waits for orders.
    bool load();
    // The same from the map's text; `name` names it in the loader's message.
    bool load(std::istream& map, const std::string& name);

    // One frame: the clock moves to step x tick, the World takes its step, both fogs follow.
    void step(int number);

    World& world() { return *world_; }
    int32_t time() const { return time_; }

private:
    bool prepare();

    RunOptions options_;
    std::unique_ptr<World> world_;
    int32_t time_ = 0;
};

// The view in which just these teams wait for orders (the inverse of commandedTeamsInView):
// view 2 when it is none, or both.
int viewOf(uint32_t commandedTeams);

// Receives each state line, without its line end.
using LineSink = std::function<void(const std::string& line)>;

// Exit statuses besides 0: a record that could not be written, bad input (arguments, map,
// orders, replay), and a replay that the battle left.
constexpr int kExitNotWritten = 1;
constexpr int kExitBadInput = 2;
constexpr int kExitReplayDiffers = 3;

// Runs the whole battle and hands its state lines to `emit`: the options' battle, with their
// orders and recorded if they ask so, or the options' replay, each of its hashes checked.
// Problems go out as one line through reportProblem. Returns the exit status.
int runBattle(const RunOptions& options, const LineSink& emit);
