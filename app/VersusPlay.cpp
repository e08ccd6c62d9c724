#include "app/VersusPlay.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <utility>

#include "app/FixedStepLoop.h"
#include "app/GameStateManager.h"
#include "net/VersusNotice.h"
#include "play/ZOL_MainState.h"

namespace {

// Events taken in one frame at most, so that a server that floods the link cannot keep the
// window from drawing; the rest wait for the next frame.
constexpr int kMostEventsPerPump = 256;
// A battle that had to wait catches up this far at most: the input delay's worth, which the
// lockstep hides from the other player. A longer wait is not made up, as the window's loop
// drops a longer backlog.
constexpr int64_t kMostStepsBehind = int64_t{kDelayTurns} * kTurnSteps;

const char* teamName(int team) {
    return team == 0 ? "red" : "blue";
}

}  // namespace

VersusPlay::VersusPlay(std::unique_ptr<MessageLink> link, Settings settings,
                       GameStateManager& manager, ZOL_MainState& play, std::ostream& errors,
                       int64_t nowMs)
    : link_(std::move(link)),
      settings_(std::move(settings)),
      session_(settings_.room),
      manager_(manager),
      play_(play),
      errors_(errors),
      connectedSinceMs_(nowMs) {
    // From the first frame: the battle under the banner stands still until the server's starts.
    play_.playVersus(&session_);
}

VersusPlay::~VersusPlay() {
    play_.playVersus(nullptr);
}

void VersusPlay::pump(int64_t nowMs) {
    for (int i = 0; i < kMostEventsPerPump && !ended(); ++i) {
        const std::optional<MessageLink::Event> event = link_->poll();
        if (!event) {
            break;
        }
        handle(*event);
    }
    if (session_.phase() == VersusSession::Phase::Connecting &&
        nowMs - connectedSinceMs_ > kMostAnswerMs) {
        session_.connectionLost("the server at " + settings_.server + " did not answer");
    }
    if (session_.phase() == VersusSession::Phase::Waiting && !roomTold_) {
        // Said once on standard error too, where the one who hosts may copy the link from.
        errors_ << "dromlin-versus: room " << session_.room().room << ": share "
                << session_.room().link << std::endl;
        roomTold_ = true;
    }
    if (session_.phase() == VersusSession::Phase::Playing && !battleLoaded_) {
        beginBattle();
    }
    if (session_.otherLeft() && leftSeenMs_ < 0) {
        leftSeenMs_ = nowMs;
    }
    send();
    noteEnd();
}

void VersusPlay::handle(const MessageLink::Event& event) {
    switch (event.kind) {
        case MessageLink::Event::Kind::Opened:
            opened_ = true;
            link_->send(session_.hello());
            break;
        case MessageLink::Event::Kind::Message:
            session_.receive(event.text);
            break;
        case MessageLink::Event::Kind::Closed:
            session_.connectionLost(!event.text.empty() || opened_
                                        ? event.text
                                        : "could not reach the server at " + settings_.server);
            break;
    }
}

void VersusPlay::send() {
    for (const std::string& message : session_.takeOutgoing()) {
        link_->send(message);
    }
}

void VersusPlay::beginBattle() {
    battleLoaded_ = true;
    waitingSinceMs_ = -1;
    if (!play_.loadVersusBattle(session_.start())) {
        loadFailure_ = "the server's map does not load";
        session_.leave();
    }
}

void VersusPlay::noteEnd() {
    if (ended() || session_.phase() != VersusSession::Phase::Ended) {
        return;
    }
    endLine_ = !loadFailure_.empty()          ? loadFailure_
               : session_.outOfSyncStep() > 0 ? outOfSyncLine(session_.endLine())
                                              : session_.endLine();
    errors_ << "dromlin-versus: " << endLine_ << std::endl;
    link_->close();
}

// The two players' files of the step, side by side, show where their battles parted.
std::string VersusPlay::outOfSyncLine(const std::string& reason) const {
    const int64_t step = session_.outOfSyncStep();
    const std::string* state = session_.stateLineAt(step);
    if (state == nullptr) {
        return reason + " (this side's state of that step is no longer kept)";
    }
    const std::filesystem::path file =
        settings_.reportFolder / ("dromlin-out-of-sync-step-" + std::to_string(step) + "-" +
                                  teamName(session_.team()) + ".json");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << *state << '\n';
    out.close();
    if (!out) {
        return reason + " (could not write this side's state to " + file.string() + ")";
    }
    return reason + ": this side's state is in " + file.string();
}

int VersusPlay::runSteps(int due, int64_t nowMs) {
    int stepped = 0;
    for (int i = 0; i < due; ++i) {
        const int64_t before = play_.battleSteps;
        const bool playing = session_.phase() == VersusSession::Phase::Playing;
        manager_.update();
        send();
        if (play_.battleSteps != before) {
            ++stepped;
        } else if (playing) {
            ++stepsBehind_;
        }
    }
    stepsBehind_ = std::min(stepsBehind_, kMostStepsBehind);
    while (stepsBehind_ > 0 && stepped < FixedStepLoop::kMaxStepsPerFrame && session_.mayStep()) {
        play_.update();
        send();
        ++stepped;
        --stepsBehind_;
    }
    if (stepped > 0 || session_.phase() != VersusSession::Phase::Playing) {
        waitingSinceMs_ = -1;
    } else if (due > 0 && waitingSinceMs_ < 0) {
        waitingSinceMs_ = nowMs;
    }
    noteEnd();
    return stepped;
}

std::vector<std::string> VersusPlay::screenLines(int64_t nowMs) const {
    switch (session_.phase()) {
        case VersusSession::Phase::Connecting:
            if (settings_.room.empty()) {
                return {"Connecting to " + settings_.server + "..."};
            }
            return {"Joining room " + settings_.room + " at " + settings_.server + "..."};
        case VersusSession::Phase::Waiting:
            return {versusNotice::roomLine(session_.room()), versusNotice::kWaiting};
        case VersusSession::Phase::Playing:
            break;
        case VersusSession::Phase::Ended:
            return {ended() ? endLine_ : session_.endLine()};
    }
    std::vector<std::string> lines;
    if (waitingSinceMs_ >= 0 && nowMs - waitingSinceMs_ >= versusNotice::kWaitingShownAfterMs) {
        lines.emplace_back(versusNotice::kWaiting);
    }
    if (leftSeenMs_ >= 0 && nowMs - leftSeenMs_ < versusNotice::kLeftShownForMs) {
        lines.emplace_back(versusNotice::kOtherLeft);
    }
    return lines;
}
