#include "Runner.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "OrderList.h"
#include "base/GameClock.h"
#include "base/GameRandom.h"
#include "base/Problem.h"
#include "gfx/ResourceCatalogue.h"
#include "world/BattleHash.h"
#include "world/Order.h"
#include "world/Replay.h"
#include "world/StateLine.h"
#include "world/World.h"

namespace {

// What one fight does beside stepping: which steps it hashes, what it does with each hash
// (false stops the fight), and with the orders as they are given.
struct Watch {
    std::function<bool(int step)> wantsHash;
    std::function<bool(const StepHash&)> hashTaken;
    std::function<void(const StepOrders&)> ordersGiven;
};

// The one loop of recording and replaying: the orders of a step are given after the step
// before it and its fog, then the step is taken; its hash is taken after its fog. Step 0's
// hash is the loaded battle's, before the first step. Returns false when `watch` stopped it.
bool fight(Battle& battle, int steps, const std::vector<StepOrders>& orders, bool trace,
           const Watch& watch, const LineSink& emit) {
    if (watch.wantsHash(0) && !watch.hashTaken({0, battleHash(battle.world())})) {
        return false;
    }
    auto next = orders.begin();
    for (int step = 1; step <= steps; ++step) {
        if (next != orders.end() && next->step == step) {
            for (const Order& order : next->orders) {
                applyOrder(battle.world(), order);
            }
            watch.ordersGiven(*next);
            ++next;
        }
        battle.step(step);
        if (trace) {
            emit(stateLine(battle.world(), step, battle.time(), false));
        }
        if (watch.wantsHash(step) && !watch.hashTaken({step, battleHash(battle.world())})) {
            return false;
        }
    }
    emit(stateLine(battle.world(), steps, battle.time(), true));
    return true;
}

// Every order must name soldiers, targets and tiles of this battle, at a step it has.
bool checkOrders(const World& world, const std::vector<StepOrders>& orders, int steps,
                 const std::string& file) {
    for (const StepOrders& step : orders) {
        const std::string where = file + ": line " + std::to_string(step.line) + ": ";
        if (step.step > steps) {
            reportProblem(where + "step " + std::to_string(step.step) + " is after the last, " +
                          std::to_string(steps));
            return false;
        }
        for (const Order& order : step.orders) {
            const std::string problem = orderProblem(world, order);
            if (!problem.empty()) {
                reportProblem(where + orderKindName(order.kind) + ": " + problem);
                return false;
            }
        }
    }
    return true;
}

// Reads at most one byte more than `most`, so that no file, however large, is held whole.
bool readText(const std::string& file, std::size_t most, std::string& text) {
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        reportProblem(file + ": cannot open");
        return false;
    }
    std::vector<char> buffer(most + 1);
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto size = static_cast<std::size_t>(in.gcount());
    if (size > most) {
        reportProblem(file + ": larger than " + std::to_string(most) +
                      " bytes, too large to record");
        return false;
    }
    text.assign(buffer.data(), size);
    return true;
}

std::optional<std::vector<StepOrders>> readOrders(const std::string& file) {
    if (file.empty()) {
        return std::vector<StepOrders>{};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        reportProblem(file + ": cannot open");
        return std::nullopt;
    }
    std::string error;
    std::optional<std::vector<StepOrders>> orders = readOrderList(in, error);
    if (!orders) {
        reportProblem(file + ": " + error);
    }
    return orders;
}

// Writes the replay as the battle goes; says at the end whether every line got out.
class Recorder {
public:
    explicit Recorder(const std::string& file) : file_(file) {
        if (!file_.empty()) {
            out_.open(file_, std::ios::binary | std::ios::trunc);
        }
    }

    bool isOpen() const { return file_.empty() || out_.is_open(); }

    void write(const std::string& line) {
        if (!file_.empty()) {
            out_ << line << '\n';
        }
    }

    Watch watch(int steps) {
        return {[steps](int step) { return step % kDefaultHashEvery == 0 || step == steps; },
                [this](const StepHash& hash) {
                    write(replayHashLine(hash));
                    return true;
                },
                [this](const StepOrders& orders) { write(replayOrdersLine(orders)); }};
    }

    bool finish(int steps) {
        write(replayEndLine(steps));
        out_.flush();
        if (!file_.empty() && !out_.good()) {
            reportProblem(file_ + ": cannot write the replay");
            return false;
        }
        return true;
    }

private:
    std::string file_;
    std::ofstream out_;
};

int recordBattle(const RunOptions& options, const LineSink& emit) {
    const std::optional<std::vector<StepOrders>> orders = readOrders(options.ordersFile);
    if (!orders) {
        return kExitBadInput;
    }
    Battle battle(options);
    ReplayHeader header;
    const bool recording = !options.recordFile.empty();
    if (recording) {
        // The replay carries the very bytes the battle was loaded from.
        if (!readText(options.mapFile, kMostMapBytes, header.map)) {
            return kExitBadInput;
        }
        std::istringstream map(header.map);
        if (!battle.load(map, options.mapFile)) {
            return kExitBadInput;
        }
    } else if (!battle.load()) {
        return kExitBadInput;
    }
    if (!checkOrders(battle.world(), *orders, options.steps, options.ordersFile)) {
        return kExitBadInput;
    }
    Recorder recorder(recording ? options.recordFile : std::string());
    if (!recorder.isOpen()) {
        reportProblem(options.recordFile + ": cannot create");
        return kExitBadInput;
    }
    header.seed = options.seed;
    header.tickMs = options.tickMs;
    header.commandedTeams = battle.world().commandedTeams;
    recorder.write(replayHeaderLine(header));
    fight(battle, options.steps, *orders, options.trace, recorder.watch(options.steps), emit);
    return recorder.finish(options.steps) ? 0 : kExitNotWritten;
}

int replayBattle(const RunOptions& options, const LineSink& emit) {
    const std::string& file = options.replayFile;
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        reportProblem(file + ": cannot open");
        return kExitBadInput;
    }
    std::string error;
    const std::optional<Replay> replay = readReplay(in, error);
    if (!replay) {
        reportProblem(file + ": " + error);
        return kExitBadInput;
    }
    RunOptions battleOptions;
    battleOptions.steps = replay->steps;
    battleOptions.seed = replay->header.seed;
    battleOptions.tickMs = replay->header.tickMs;
    battleOptions.view = viewOf(replay->header.commandedTeams);
    battleOptions.trace = options.trace;
    Battle battle(battleOptions);
    std::istringstream map(replay->header.map);
    if (!battle.load(map, file + " (its map)")) {
        return kExitBadInput;
    }
    battle.world().commandedTeams = replay->header.commandedTeams;
    if (!checkOrders(battle.world(), replay->orders, replay->steps, file)) {
        return kExitBadInput;
    }
    auto expected = replay->hashes.begin();
    const Watch watch{
        [&](int step) { return expected != replay->hashes.end() && expected->step == step; },
        [&](const StepHash& hash) {
            const StepHash recorded = *expected++;
            if (hash.hash == recorded.hash) {
                return true;
            }
            reportProblem(file + ": the battle differs from its recording at step " +
                          std::to_string(hash.step) + " (hash " + hashText(hash.hash) +
                          ", recorded " + hashText(recorded.hash) + ")");
            return false;
        },
        [](const StepOrders&) {}};
    return fight(battle, replay->steps, replay->orders, options.trace, watch, emit)
               ? 0
               : kExitReplayDiffers;
}

}  // namespace

int viewOf(uint32_t commandedTeams) {
    if (commandedTeams == teamBit(0)) {
        return 0;
    }
    return commandedTeams == teamBit(1) ? 1 : 2;
}

Battle::Battle(const RunOptions& options) : options_(options) {
    setSimulatedClock(0);
    fixGameSeed(options_.seed);
    ResourceCatalogue::instance()->viewMode = options_.view;
}

Battle::~Battle() = default;

bool Battle::load() {
    world_ = std::make_unique<World>();
    return world_->loadMap(options_.mapFile) && prepare();
}

bool Battle::load(std::istream& map, const std::string& name) {
    world_ = std::make_unique<World>();
    return world_->loadMap(map, name) && prepare();
}

bool Battle::prepare() {
    world_->commandedTeams = commandedTeamsInView(options_.view);
    world_->computeFogs();
    return true;
}

void Battle::step(int number) {
    time_ = static_cast<int32_t>(static_cast<long long>(number) * options_.tickMs);
    setSimulatedClock(time_);
    world_->step();
}

int runBattle(const RunOptions& options, const LineSink& emit) {
    return options.replayFile.empty() ? recordBattle(options, emit) : replayBattle(options, emit);
}
