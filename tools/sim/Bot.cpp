#include "Bot.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <vector>

#include "ai/Entity.h"
#include "base/Problem.h"
#include "net/MessageLink.h"
#include "net/Protocol.h"
#include "net/VersusSession.h"
#include "world/Replay.h"
#include "world/StateLine.h"
#include "world/World.h"

namespace {

using Clock = std::chrono::steady_clock;

// A server that has said nothing for this long, while the bot waits on it, is given up.
constexpr auto kMostSilence = std::chrono::seconds(10);
// After its last step the bot waits this long at most for its link to close cleanly.
constexpr int kMostCloseMs = 2000;
// The shortest and longest stretch of steps between two of the bot's orders.
constexpr int kFewestStepsBetweenOrders = 20;
constexpr int kMostStepsBetweenOrders = 60;

bool isLiving(const Entity& soldier) {
    return soldier.health > 0 && soldier.state != EntityState::Dead;
}

int32_t pick(std::mt19937& random, int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(random);
}

// What the server's messages said, beside what the session makes of them: the session ends
// alike on a refusal and on the end of the battle, and the exit status tells them apart.
struct Heard {
    bool opened = false;
    bool refused = false;
    bool roomFull = false;
    bool roomShown = false;
};

// The wall time from an order given to its carrying out, for --delay-report.
class DelayWatch {
public:
    void given(int64_t turn) { pending_.push_back({turn, Clock::now()}); }

    void carriedOut(int64_t turn) {
        const Clock::time_point now = Clock::now();
        std::erase_if(pending_, [&](const Pending& order) {
            if (order.turn != turn) {
                return false;
            }
            const double ms = std::chrono::duration<double, std::milli>(now - order.at).count();
            ++count_;
            totalMs_ += ms;
            mostMs_ = std::max(mostMs_, ms);
            return true;
        });
    }

    std::string line() const {
        char text[160];
        std::snprintf(text, sizeof text,
                      "order-to-action delay: %d orders, mean %.1f ms, most %.1f ms", count_,
                      count_ > 0 ? totalMs_ / count_ : 0.0, mostMs_);
        return text;
    }

private:
    struct Pending {
        int64_t turn;
        Clock::time_point at;
    };
    std::vector<Pending> pending_;
    int count_ = 0;
    double totalMs_ = 0.0;
    double mostMs_ = 0.0;
};

// The test's fault: one of the bot's own living soldiers a hair off its tile.
void nudge(World& world, int team) {
    for (const auto& soldier : world.roster) {
        if (soldier->team == team && isLiving(*soldier)) {
            soldier->x += 1.0 / 1024.0;
            return;
        }
    }
}

// Where this side's state line of the step whose hashes differed goes, in the working folder.
std::string keepOutOfSyncState(const VersusSession& session) {
    const int64_t step = session.outOfSyncStep();
    const std::string* line = session.stateLineAt(step);
    std::string line0 = "out of sync at step " + std::to_string(step);
    if (line == nullptr) {
        return line0 + "; this side's state of that step is no longer kept";
    }
    const std::string file = "dromlin-out-of-sync-" + session.start().room + "-" +
                             (session.team() == 0 ? "red" : "blue") + "-step" +
                             std::to_string(step) + ".json";
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << *line << '\n';
    out.close();
    if (!out) {
        return line0 + "; this side's state could not be written to " + file;
    }
    return line0 + "; this side's state is in " + file;
}

class Bot {
public:
    Bot(const RunOptions& options, MessageLink& link, const LineSink& emit)
        : options_(options),
          link_(link),
          emit_(emit),
          session_(options.room),
          random_(options.botSeed) {
        nextOrderIn_ = pick(random_, kFewestStepsBetweenOrders, kMostStepsBetweenOrders);
    }

    int play() {
        Clock::time_point lastHeard = Clock::now();
        while (session_.phase() != VersusSession::Phase::Ended) {
            while (std::optional<MessageLink::Event> event = link_.poll()) {
                handle(*event);
                lastHeard = Clock::now();
            }
            if (session_.phase() == VersusSession::Phase::Ended) {
                break;
            }
            if (session_.phase() == VersusSession::Phase::Playing && !battle_ && !load()) {
                return finishBadly(kExitBadInput);
            }
            const bool stepsLeft = battle_ && session_.stepsTaken() < options_.steps;
            if (battle_ && !stepsLeft) {
                return finishWell();
            }
            const Clock::time_point now = Clock::now();
            int waitMs = 0;
            if (stepsLeft && session_.mayStep()) {
                if (!options_.pace || now >= nextStepAt_) {
                    step();
                    lastHeard = Clock::now();
                    // As the game's loop: steps fall due a tick apart, and one that waited
                    // catches up, but a backlog over four steps is dropped.
                    nextStepAt_ = std::max(nextStepAt_ + tick_, now - 4 * tick_);
                    continue;
                }
                waitMs = static_cast<int>(
                    std::chrono::ceil<std::chrono::milliseconds>(nextStepAt_ - now).count());
            } else {
                if (now - lastHeard >= kMostSilence) {
                    reportProblem("no word from the server for 10 s");
                    link_.close();
                    return kExitStalled;
                }
                waitMs = static_cast<int>(
                    std::chrono::ceil<std::chrono::milliseconds>(lastHeard + kMostSilence - now)
                        .count());
            }
            if (std::optional<MessageLink::Event> event = link_.wait(std::max(waitMs, 1))) {
                handle(*event);
                lastHeard = Clock::now();
            }
        }
        return finishBadly(0);
    }

private:
    void handle(const MessageLink::Event& event) {
        switch (event.kind) {
            case MessageLink::Event::Kind::Opened:
                heard_.opened = true;
                link_.send(session_.hello());
                break;
            case MessageLink::Event::Kind::Message: {
                std::string error;
                const std::optional<ServerMessage> message = readServerMessage(event.text, error);
                if (message && message->kind == ServerMessage::Kind::Refused) {
                    heard_.refused = true;
                    const std::string& reason = message->refused.reason;
                    heard_.roomFull =
                        reason.size() >= 8 && reason.compare(reason.size() - 8, 8, " is full") == 0;
                }
                session_.receive(event.text);
                if (session_.phase() == VersusSession::Phase::Waiting && !heard_.roomShown) {
                    heard_.roomShown = true;
                    reportProblem("room " + session_.room().room);
                }
                break;
            }
            case MessageLink::Event::Kind::Closed:
                linkClosed_ = true;
                session_.connectionLost(event.text);
                break;
        }
        send();
    }

    void send() {
        for (const std::string& message : session_.takeOutgoing()) {
            link_.send(message);
        }
    }

    bool load() {
        const BattleStart& start = session_.start();
        if (start.tickMs <= 0 || static_cast<long long>(options_.steps) * start.tickMs >
                                     std::numeric_limits<int32_t>::max()) {
            reportProblem("--steps x the server's tick of " + std::to_string(start.tickMs) +
                          " ms must stay within " +
                          std::to_string(std::numeric_limits<int32_t>::max()) + " ms");
            return false;
        }
        RunOptions battleOptions;
        battleOptions.seed = start.seed;
        battleOptions.tickMs = start.tickMs;
        battleOptions.view = start.team;
        battleOptions.steps = options_.steps;
        tick_ = std::chrono::milliseconds(start.tickMs);
        nextStepAt_ = Clock::now();
        battle_ = std::make_unique<Battle>(battleOptions);
        std::istringstream map(start.map);
        if (!battle_->load(map, "the server's map")) {
            return false;
        }
        battle_->world().commandedTeams = kBothTeams;
        return true;
    }

    void step() {
        const int number = static_cast<int>(session_.stepsTaken()) + 1;
        const std::vector<Order> orders = session_.takeTurnOrders();
        World& world = battle_->world();
        for (const Order& order : orders) {
            applyOrder(world, order);
        }
        if (number % kTurnSteps == 1) {
            delays_.carriedOut(number / kTurnSteps);
        }
        battle_->step(number);
        if (number == options_.nudgeStep) {
            nudge(world, session_.team());
        }
        if (options_.trace) {
            emit_(stateLine(world, number, battle_->time(), false));
        }
        session_.stepped(world);
        send();
        if (--nextOrderIn_ <= 0) {
            nextOrderIn_ = pick(random_, kFewestStepsBetweenOrders, kMostStepsBetweenOrders);
            if (std::optional<Order> order = randomOrder(world, session_.team(), random_)) {
                session_.give(std::move(*order));
                delays_.given(session_.stepsTaken() / kTurnSteps + kDelayTurns);
            }
        }
    }

    // Closes the link and waits, a while at most, for it to close: the last turn's message and
    // the closing handshake go out before the process ends.
    void closeLink() {
        if (linkClosed_) {
            return;
        }
        link_.close();
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(kMostCloseMs);
        while (Clock::now() < until) {
            const std::optional<MessageLink::Event> event = link_.wait(
                static_cast<int>(
                    std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count()) +
                1);
            if (event && event->kind == MessageLink::Event::Kind::Closed) {
                return;
            }
        }
    }

    int finishWell() {
        emit_(stateLine(battle_->world(), options_.steps, battle_->time(), true));
        closeLink();
        if (options_.delayReport) {
            reportProblem(delays_.line());
        }
        return 0;
    }

    int finishBadly(int status) {
        if (status == 0) {
            if (session_.outOfSyncStep() > 0) {
                reportProblem(keepOutOfSyncState(session_));
                status = kExitOutOfSync;
            } else {
                reportProblem(session_.endLine());
                status = heard_.roomFull  ? kExitRoomFull
                         : heard_.refused ? kExitRefused
                         : linkClosed_    ? kExitUnreachable
                                          : kExitEnded;
            }
        }
        closeLink();
        if (options_.delayReport) {
            reportProblem(delays_.line());
        }
        return status;
    }

    const RunOptions& options_;
    MessageLink& link_;
    const LineSink& emit_;
    VersusSession session_;
    std::mt19937 random_;
    std::unique_ptr<Battle> battle_;
    std::chrono::milliseconds tick_{16};
    Clock::time_point nextStepAt_;  // with --pace, when the next step falls due
    Heard heard_;
    bool linkClosed_ = false;
    int nextOrderIn_ = 0;
    DelayWatch delays_;
};

}  // namespace

std::optional<Order> randomOrder(const World& world, int team, std::mt19937& random) {
    std::vector<int32_t> living;
    std::vector<int32_t> everyone;
    for (std::size_t id = 0; id < world.roster.size(); ++id) {
        if (isLiving(*world.roster[id])) {
            everyone.push_back(static_cast<int32_t>(id));
            if (world.roster[id]->team == team) {
                living.push_back(static_cast<int32_t>(id));
            }
        }
    }
    if (living.empty()) {
        return std::nullopt;
    }
    static constexpr int32_t kKinds[] = {OrderKind::Move,    OrderKind::Advance,
                                         OrderKind::Pursue,  OrderKind::Flee,
                                         OrderKind::Explore, OrderKind::ExploreAndEngage};
    Order order;
    order.kind = kKinds[pick(random, 0, static_cast<int32_t>(std::size(kKinds)) - 1)];
    order.giver = teamBit(team);
    for (const int32_t id : living) {
        if (pick(random, 0, 1) == 1) {
            order.soldiers.push_back(id);
        }
    }
    if (order.soldiers.empty()) {
        order.soldiers.push_back(living[static_cast<std::size_t>(
            pick(random, 0, static_cast<int32_t>(living.size()) - 1))]);
    }
    if (orderHasTile(order.kind)) {
        order.column = pick(random, 0, world.columns - 1);
        order.row = pick(random, 0, world.rows - 1);
    }
    if (orderHasTarget(order.kind)) {
        order.target = everyone[static_cast<std::size_t>(
            pick(random, 0, static_cast<int32_t>(everyone.size()) - 1))];
    }
    return order;
}

int playBot(const RunOptions& options, MessageLink& link, const LineSink& emit) {
    return Bot(options, link, emit).play();
}

int runBot(const RunOptions& options, const LineSink& emit) {
    const std::unique_ptr<MessageLink> link = openMessageLink(options.connect);
    return playBot(options, *link, emit);
}
