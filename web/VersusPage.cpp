#include "web/VersusPage.h"

#include <emscripten.h>

#include <algorithm>
#include <cctype>

#include "base/Problem.h"
#include "net/VersusNotice.h"
#include "play/ZOL_MainState.h"

namespace {

// The browser's console keeps the line for the player to copy and diff with the other's.
EM_JS(void, reportOutOfSync, (const char* text), { console.error(UTF8ToString(text)); });

// A link sent by mail or chat may come back with blanks around it or in capitals.
std::string roomCodeFrom(const std::string& text) {
    std::string code;
    for (const char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            code += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return code;
}

}  // namespace

VersusPage::VersusPage(ZOL_MainState& play, const std::string& hostPort, const std::string& room)
    : play_(play), session_(roomCodeFrom(room)) {
    const std::string code = roomCodeFrom(room);
    if (!code.empty() && !isRoomCode(code)) {
        problem_ = "\"" + printableExcerpt(room) + "\" is not a room code";
        over_ = true;
        return;
    }
    play_.playVersus(&session_);
    link_ = openMessageLink(hostPort);
}

void VersusPage::beforeSteps(double nowMs) {
    if (over_) {
        return;
    }
    takeEvents();
    if (session_.phase() == VersusSession::Phase::Playing && !loaded_) {
        if (play_.loadVersusBattle(session_.start())) {
            loaded_ = true;
            lastStepAt_ = nowMs;
        } else {
            problem_ = "the server's map does not load";
        }
    }
    if (session_.otherLeft() && leftSeenAt_ < 0.0) {
        leftSeenAt_ = nowMs;
    }
    sendOutgoing();
    if (!problem_.empty() || session_.phase() == VersusSession::Phase::Ended) {
        ended();
    }
}

void VersusPage::afterSteps(double nowMs) {
    if (over_) {
        return;
    }
    if (session_.stepsTaken() != stepsSeen_) {
        stepsSeen_ = session_.stepsTaken();
        lastStepAt_ = nowMs;
    }
    if (keepAt_ > 0 && kept_.empty()) {
        if (const std::string* line = session_.stateLineAt(keepAt_)) {
            kept_ = *line;
        }
    }
    sendOutgoing();
}

// Every event that came since the last frame: the queue holds only what the browser delivered
// between two frames.
void VersusPage::takeEvents() {
    while (std::optional<MessageLink::Event> event = link_->poll()) {
        switch (event->kind) {
            case MessageLink::Event::Kind::Opened:
                link_->send(session_.hello());
                break;
            case MessageLink::Event::Kind::Message:
                session_.receive(event->text);
                break;
            case MessageLink::Event::Kind::Closed:
                session_.connectionLost(event->text);
                return;
        }
    }
}

void VersusPage::sendOutgoing() {
    for (const std::string& text : session_.takeOutgoing()) {
        link_->send(text);
    }
}

// The battle stands still from here: the session lets no step through once it ended.
void VersusPage::ended() {
    over_ = true;
    if (session_.phase() != VersusSession::Phase::Ended) {
        // The page gave up on its own: the server hears it leave.
        session_.leave();
    }
    link_->close();
    const int64_t step = session_.outOfSyncStep();
    if (step > 0) {
        const std::string* state = session_.stateLineAt(step);
        const std::string report =
            "Dromlin out of sync at step " + std::to_string(step) + ": " +
            (state != nullptr ? "this page's state of that step: " + *state
                              : "this page no longer keeps its state of that step");
        reportOutOfSync(report.c_str());
    }
}

std::string VersusPage::line(double nowMs) const {
    if (!problem_.empty()) {
        return problem_;
    }
    switch (session_.phase()) {
        case VersusSession::Phase::Connecting:
            return "Connecting to the server…";
        case VersusSession::Phase::Waiting:
            return versusNotice::roomLine(session_.room());
        case VersusSession::Phase::Playing:
            if (nowMs - lastStepAt_ >= versusNotice::kWaitingShownAfterMs) {
                return versusNotice::kWaiting;
            }
            if (leftSeenAt_ >= 0.0 && nowMs - leftSeenAt_ < versusNotice::kLeftShownForMs) {
                return versusNotice::kOtherLeft;
            }
            return "";
        case VersusSession::Phase::Ended:
            return session_.endLine();
    }
    return "";
}

const std::string& VersusPage::link() const {
    return session_.room().link;
}

void VersusPage::keepStateLineAt(int64_t step) {
    keepAt_ = step;
    kept_.clear();
}
