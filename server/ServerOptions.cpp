#include "ServerOptions.h"

#include <charconv>
#include <cstdlib>
#include <system_error>

#include "base/Problem.h"

bool splitListenAddress(const std::string& text, std::string& address, uint16_t& port) {
    std::string host;
    std::string digits;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':') {
            return false;
        }
        host = text.substr(1, close - 1);
        digits = text.substr(close + 2);
    } else {
        const std::size_t colon = text.rfind(':');
        if (colon == std::string::npos || text.find(':') != colon) {
            return false;
        }
        host = text.substr(0, colon);
        digits = text.substr(colon + 1);
    }
    unsigned value = 0;
    const auto [end, fault] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (host.empty() || digits.empty() || fault != std::errc() ||
        end != digits.data() + digits.size() || value > 65535) {
        return false;
    }
    address = host;
    port = static_cast<uint16_t>(value);
    return true;
}

std::optional<ServerOptions> readServerOptions(const std::vector<std::string>& arguments,
                                               std::string& error) {
    ServerOptions options;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& name = arguments[at];
        if (at + 1 >= arguments.size() || name.rfind("--", 0) != 0) {
            error = name.rfind("--", 0) == 0 ? name + " needs a value"
                                             : "unexpected " + printableExcerpt(name);
            return std::nullopt;
        }
        const std::string& value = arguments[++at];
        if (name == "--listen") {
            if (!splitListenAddress(value, options.address, options.port)) {
                error = "--listen " + printableExcerpt(value) + ": not ADDR:PORT";
                return std::nullopt;
            }
        } else if (name == "--map") {
            options.map = value;
        } else if (name == "--replays") {
            options.keepReplays = value != "none";
            options.replays = options.keepReplays ? value : "";
        } else if (name == "--web") {
            options.web = value;
        } else if (name == "--stats") {
            options.stats = value;
        } else if (name == "--time-scale") {
            const auto [end, fault] =
                std::from_chars(value.data(), value.data() + value.size(), options.timeScale);
            if (fault != std::errc() || end != value.data() + value.size() ||
                options.timeScale < 1 || options.timeScale > 1000) {
                error = "--time-scale " + printableExcerpt(value) + ": not 1 to 1000";
                return std::nullopt;
            }
        } else {
            error = "unknown option " + printableExcerpt(name);
            return std::nullopt;
        }
        if (value.empty()) {
            error = name + " needs a value";
            return std::nullopt;
        }
    }
    return options;
}

std::filesystem::path defaultReplayFolder() {
    const char* const data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') {
        return std::filesystem::path(data) / "dromlin" / "replays";
    }
    const char* const home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::filesystem::path(home) / ".local" / "share" / "dromlin" / "replays";
    }
    return {};
}

std::filesystem::path firstHolding(const std::vector<std::filesystem::path>& places,
                                   const std::string& file) {
    for (const std::filesystem::path& place : places) {
        std::error_code error;
        if (!place.empty() && std::filesystem::is_regular_file(place / file, error)) {
            return place;
        }
    }
    return {};
}
