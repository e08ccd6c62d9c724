#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "net/MessageLink.h"
#include "net/VersusSession.h"

class GameStateManager;
class ZOL_MainState;

// The desktop's battle against another player, without the window: carries the server's
// messages between the link and the session, loads the battle when it starts, runs the steps
// the window's loop finds due as far as the lockstep lets it, and says what the screen shows
// over the battle. Times are milliseconds of the caller's steady clock.
class VersusPlay {
public:
    // Where a report of differing battles goes: a folder that exists (the temp folder).
    struct Settings {
        std::string server;  // "HOST:PORT", for the screen
        std::string room;    // empty: open a room
        std::filesystem::path reportFolder;
    };

    // `play` is the manager's battle, which from now on steps only when the session allows;
    // `errors` is told the end line once.
    VersusPlay(std::unique_ptr<MessageLink> link, Settings settings, GameStateManager& manager,
               ZOL_MainState& play, std::ostream& errors, int64_t nowMs);
    ~VersusPlay();
    VersusPlay(const VersusPlay&) = delete;
    VersusPlay& operator=(const VersusPlay&) = delete;

    // Takes what the link brought, without waiting, and sends what the session has to say.
    void pump(int64_t nowMs);
    // `due` steps of the window's loop fell due: one update of the manager each, the battle
    // stepping in it if its turn's orders are here. A battle that had to wait catches up
    // afterwards, a few steps behind at most and never more than the loop's steps per frame.
    // Returns how many steps the battle took.
    int runSteps(int due, int64_t nowMs);

    // The lines over the battle, top to bottom; none when nothing is to be said.
    std::vector<std::string> screenLines(int64_t nowMs) const;
    bool ended() const { return !endLine_.empty(); }
    // Why the battle ended, as told on the screen and to standard error.
    const std::string& endLine() const { return endLine_; }
    const VersusSession& session() const { return session_; }

    // A server that takes the connection and never answers is given up after this; the link
    // itself gives up a server that does not connect within 10 s.
    static constexpr int64_t kMostAnswerMs = 15000;

private:
    void handle(const MessageLink::Event& event);
    void send();
    void beginBattle();
    void noteEnd();
    std::string outOfSyncLine(const std::string& reason) const;

    std::unique_ptr<MessageLink> link_;
    Settings settings_;
    VersusSession session_;
    GameStateManager& manager_;
    ZOL_MainState& play_;
    std::ostream& errors_;
    bool opened_ = false;
    bool roomTold_ = false;
    bool battleLoaded_ = false;
    std::string loadFailure_;
    std::string endLine_;
    int64_t connectedSinceMs_;
    int64_t stepsBehind_ = 0;
    int64_t waitingSinceMs_ = -1;  // since the battle last could not step; -1: it could
    int64_t leftSeenMs_ = -1;
};
