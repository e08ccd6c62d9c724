#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/MessageLink.h"
#include "net/VersusSession.h"

class ZOL_MainState;

// The page's side of a battle against another player: the link to the server that served the
// page, the player's session, and the line the page shows above the battle. Each animation
// frame hands the server's messages to the session before the game's steps and sends the
// session's messages after them; the play state steps only when the session lets it.
class VersusPage {
public:
    // `room` empty: opens a room; else joins it (a code in any case, around blanks).
    VersusPage(ZOL_MainState& play, const std::string& hostPort, const std::string& room);

    void beforeSteps(double nowMs);
    void afterSteps(double nowMs);

    // The line for the page, empty when the battle runs as it should; `link` is the room's
    // link while the opener waits for the other player.
    std::string line(double nowMs) const;
    const std::string& link() const;
    bool started() const { return loaded_; }

    int64_t steps() const { return session_.stepsTaken(); }
    // The state line of step `step` (a turn's last) is kept as the battle passes it, for a
    // test that compares the page's battle with another player's at a fixed step.
    void keepStateLineAt(int64_t step);
    const std::string& keptStateLine() const { return kept_; }

private:
    void takeEvents();
    void sendOutgoing();
    void ended();

    ZOL_MainState& play_;
    std::unique_ptr<MessageLink> link_;
    VersusSession session_;
    std::string problem_;  // the page's own end, which the session does not know
    bool loaded_ = false;
    bool over_ = false;
    int64_t stepsSeen_ = 0;
    double lastStepAt_ = 0.0;
    double leftSeenAt_ = -1.0;  // when the server said the other player left; never yet
    int64_t keepAt_ = 0;
    std::string kept_;
};
