// dromlin-server: hosts two-player battles (docs/versus.md).
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "ReplayFiles.h"
#include "ServerOptions.h"
#include "VersusServer.h"
#include "base/Problem.h"
#include "world/Replay.h"

namespace {

std::filesystem::path ownFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

// The build tree's own binary also finds what the build tree has; an installed copy does not.
bool isBuildTreeBinary() {
    std::error_code error;
    return std::filesystem::equivalent(ownFolder(), DROMLIN_BUILD_FOLDER, error);
}

std::filesystem::path defaultMap() {
    std::vector<std::filesystem::path> places = {ownFolder(), DROMLIN_DATA_PATH};
    if (isBuildTreeBinary()) {
        places.emplace_back(DROMLIN_SOURCE_ASSETS);
    }
    const std::filesystem::path folder = firstHolding(places, "map1.txt");
    return folder.empty() ? std::filesystem::path() : folder / "map1.txt";
}

std::filesystem::path defaultWeb() {
    std::vector<std::filesystem::path> places = {ownFolder() / "web", DROMLIN_WEB_PATH};
    if (isBuildTreeBinary()) {
        places.emplace_back(DROMLIN_SOURCE_WEB);
        places.emplace_back(DROMLIN_BUILD_WEB);
    }
    for (const auto& place : {"index.html", "versus.html"}) {
        const std::filesystem::path folder = firstHolding(places, place);
        if (!folder.empty()) {
            return folder;
        }
    }
    return {};
}

// The map's text; a file beyond the largest map is read only as far as Host needs to refuse.
bool readMap(const std::filesystem::path& file, std::string& text) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    text.resize(kMostMapBytes + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

uint64_t systemRandomBits() {
    static std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) | device();
}

}  // namespace

int main(int argc, char** argv) {
    setProblemSink(stderr);
    std::string error;
    const std::optional<ServerOptions> options =
        readServerOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "dromlin-server: %s\n%s\n", error.c_str(), kServerUsage);
        return 2;
    }
    const std::filesystem::path map = options->map.empty() ? defaultMap() : options->map;
    VersusServer::Settings settings;
    settings.host.mapName = map.filename().string();
    if (map.empty() || !readMap(map, settings.host.map)) {
        std::fprintf(stderr, "dromlin-server: cannot read the map %s\n",
                     map.empty() ? "map1.txt (not found)" : map.string().c_str());
        return 1;
    }
    std::filesystem::path replays;
    if (options->keepReplays) {
        replays = options->replays.empty() ? defaultReplayFolder() : options->replays;
        if (replays.empty()) {
            std::fprintf(stderr, "dromlin-server: no HOME to keep replays under: say --replays\n");
            return 2;
        }
        settings.host.openReplay = replayOpener(replays);
    }
    settings.host.randomBits = systemRandomBits;
    settings.web = options->web.empty() ? defaultWeb() : options->web;
    settings.timeScale = options->timeScale;
    VersusServer server(std::move(settings));
    if (!server.host().ready()) {
        std::fprintf(stderr, "dromlin-server: %s\n", server.host().problem().c_str());
        return 1;
    }
    if (!server.listen(options->address, options->port, error)) {
        std::fprintf(stderr, "dromlin-server: cannot listen on %s\n", error.c_str());
        return 1;
    }
    const bool v6 = options->address.find(':') != std::string::npos;
    std::printf("dromlin-server: listening on http://%s%s%s:%u (map %s, replays %s)\n",
                v6 ? "[" : "", options->address.c_str(), v6 ? "]" : "",
                static_cast<unsigned>(server.port()), map.string().c_str(),
                replays.empty() ? "none" : replays.string().c_str());
    std::fflush(stdout);
    server.run(true);
    if (!options->stats.empty()) {
        std::ofstream out(options->stats);
        out << statsJson(server.stats()) << '\n';
        if (!out) {
            std::fprintf(stderr, "dromlin-server: cannot write %s\n",
                         options->stats.string().c_str());
            return 1;
        }
    }
    return 0;
}
