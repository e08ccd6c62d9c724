#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "net/Host.h"

// dromlin-server's transport: one port that serves the web build's files over HTTP and
// carries the players' WebSocket connections at "/play" to the rooms (Host). Everything runs
// on the one thread that calls `run`, so Host is only ever called from it.
class VersusServer {
public:
    struct Settings {
        Host::Settings host;
        std::filesystem::path web;  // empty: no files served
        // The protocol's clock runs this many times faster than the wall's (tests only).
        int64_t timeScale = 1;
    };
    struct Stats {
        uint64_t connections = 0;  // players' connections accepted
        uint64_t rooms = 0;        // rooms opened
        uint64_t messagesIn = 0;
        uint64_t messagesOut = 0;
        // From a player's message that completed a turn to the forwarded turn queued for both.
        std::vector<int64_t> turnForwardUs;
    };

    explicit VersusServer(Settings settings);
    ~VersusServer();
    VersusServer(const VersusServer&) = delete;
    VersusServer& operator=(const VersusServer&) = delete;

    const Host& host() const;
    // Binds to ADDR:PORT (port 0: one the system picks); false with `error` one line.
    bool listen(const std::string& address, uint16_t port, std::string& error);
    uint16_t port() const;
    // Serves until `stop`, or SIGINT/SIGTERM when `onSignals`.
    void run(bool onSignals);
    // From any thread: every battle ends (its replay gets its end line), every connection is
    // closed, and `run` returns.
    void stop();
    // Valid once `run` returned.
    const Stats& stats() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// The stats as one JSON object: counts and the p50/p99 of the turn forwarding in
// microseconds.
std::string statsJson(const VersusServer::Stats& stats);
