#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Options.h"

struct World;

// A battle without a window: the World the game would hold, driven on a simulated clock.
class Battle {
public:
    // Does what the game does before its first frame: creates the resource catalogue (which
    // seeds gameRand() with the time), then sets the clock to 0, reseeds gameRand() with the chosen
    // seed and sets the view mode.
    explicit Battle(const RunOptions& options);
    ~Battle();

    // Builds the World and loads the map; false when the map cannot be loaded (the loader has
    // printed why). Then computes both teams' fog once, as the game's first frame draws before
    // its first update.
    bool load();

    // One frame: the clock moves to step x tick, the World takes its step, both fogs follow.
    void step(int number);

    World& world() { return *world_; }
    int32_t time() const { return time_; }

private:
    RunOptions options_;
    std::unique_ptr<World> world_;
    int32_t time_ = 0;
};

// Receives each state line, without its line end.
using LineSink = std::function<void(const std::string& line)>;

// Runs the whole battle and hands its state lines to `emit`. Returns the exit status:
// 0, or 2 when the map cannot be loaded.
int runBattle(const RunOptions& options, const LineSink& emit);
