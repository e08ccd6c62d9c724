#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What dromlin-server was asked for on its command line.
struct ServerOptions {
    std::string address = "127.0.0.1";
    uint16_t port = 8080;
    std::filesystem::path map;      // empty: the shipped map
    std::filesystem::path replays;  // empty: the user's data folder
    bool keepReplays = true;        // false with "--replays none"
    std::filesystem::path web;      // empty: the installed page, or the build tree's
    std::filesystem::path stats;    // empty: none written
    // Test only: the protocol's clock runs this many times faster than the wall's.
    int64_t timeScale = 1;
};

// The options of `arguments` (without the program's name), or nothing with `error` set to one
// line.
std::optional<ServerOptions> readServerOptions(const std::vector<std::string>& arguments,
                                               std::string& error);

// "ADDR:PORT", with an IPv6 address in brackets: "[::1]:8080".
bool splitListenAddress(const std::string& text, std::string& address, uint16_t& port);

// Where replays go when no folder is named: $XDG_DATA_HOME/dromlin/replays, else
// ~/.local/share/dromlin/replays; empty when neither is known.
std::filesystem::path defaultReplayFolder();

// The first of `places` that holds `file` (a file name), or empty.
std::filesystem::path firstHolding(const std::vector<std::filesystem::path>& places,
                                   const std::string& file);

inline constexpr char kServerUsage[] =
    "usage: dromlin-server [--listen ADDR:PORT] [--map FILE] [--replays DIR|none] [--web DIR] "
    "[--stats FILE]";
