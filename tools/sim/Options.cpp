#include "Options.h"

#include <algorithm>
#include <cstdint>
#include <limits>

const char* const kUsage =
    "usage: dromlin-sim MAP [--steps N] [--seed S] [--tick-ms T] [--view V] [--orders FILE] "
    "[--record FILE] [--trace] | dromlin-sim --replay FILE [--trace] | dromlin-sim --connect "
    "HOST:PORT [--room CODE] [--bot random] [--bot-seed N] [--steps N] [--trace] [--pace] "
    "[--delay-report]";

namespace {

bool readNumber(const std::vector<std::string>& arguments, std::size_t& i, unsigned long long limit,
                unsigned long long& value, std::string& error) {
    const std::string& flag = arguments[i];
    if (i + 1 >= arguments.size()) {
        error = flag + " needs a value";
        return false;
    }
    const std::string& text = arguments[++i];
    const std::optional<unsigned long long> parsed = parseCount(text);
    if (!parsed || *parsed > limit) {
        error = flag + " takes a whole number from 0 to " + std::to_string(limit) + ", not '" +
                text + "'";
        return false;
    }
    value = *parsed;
    return true;
}

bool readFile(const std::vector<std::string>& arguments, std::size_t& i, std::string& file,
              std::string& error) {
    const std::string& flag = arguments[i];
    if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        error = flag + " needs a file";
        return false;
    }
    file = arguments[++i];
    return true;
}

bool readFlag(const std::vector<std::string>& arguments, std::size_t& i, RunOptions& options,
              std::string& error) {
    const std::string& flag = arguments[i];
    if (flag == "--orders") {
        return readFile(arguments, i, options.ordersFile, error);
    }
    if (flag == "--record") {
        return readFile(arguments, i, options.recordFile, error);
    }
    if (flag == "--replay") {
        return readFile(arguments, i, options.replayFile, error);
    }
    if (flag == "--connect" || flag == "--room") {
        return readFile(arguments, i, flag == "--connect" ? options.connect : options.room, error);
    }
    if (flag == "--bot") {
        std::string kind;
        if (!readFile(arguments, i, kind, error)) {
            return false;
        }
        if (kind != "random") {
            error = "--bot knows only 'random', not '" + kind + "'";
            return false;
        }
        return true;
    }
    if (flag == "--pace" || flag == "--delay-report") {
        (flag == "--pace" ? options.pace : options.delayReport) = true;
        return true;
    }
    const unsigned long long maxInt = std::numeric_limits<int32_t>::max();
    unsigned long long value = 0;
    if (flag == "--trace") {
        options.trace = true;
        return true;
    }
    if (flag == "--steps" || flag == "--tick-ms") {
        if (!readNumber(arguments, i, maxInt, value, error)) {
            return false;
        }
        (flag == "--steps" ? options.steps : options.tickMs) = static_cast<int>(value);
        return true;
    }
    if (flag == "--nudge-step") {
        if (!readNumber(arguments, i, maxInt, value, error)) {
            return false;
        }
        options.nudgeStep = static_cast<int>(value);
        return true;
    }
    if (flag == "--seed" || flag == "--bot-seed") {
        if (!readNumber(arguments, i, std::numeric_limits<unsigned>::max(), value, error)) {
            return false;
        }
        (flag == "--seed" ? options.seed : options.botSeed) = static_cast<unsigned>(value);
        return true;
    }
    if (flag == "--view") {
        if (!readNumber(arguments, i, 2, value, error)) {
            return false;
        }
        options.view = static_cast<int>(value);
        return true;
    }
    error = "unknown option '" + flag + "'";
    return false;
}

}  // namespace

// Whole decimal numbers only: no sign tricks, no trailing junk, no overflow.
std::optional<unsigned long long> parseCount(const std::string& text) {
    if (text.empty() || text.size() > 19) {
        return std::nullopt;
    }
    unsigned long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned long long>(c - '0');
    }
    return value;
}

std::optional<RunOptions> parseOptions(const std::vector<std::string>& arguments,
                                       std::string& error) {
    RunOptions options;
    bool haveMap = false;
    // Everything but --trace sets up a battle, which a replay brings along; the bot's flags
    // want a server, which brings the rest.
    std::string battleFlag;
    std::string botFlag;
    bool stepsGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() > 1 && argument[0] == '-') {
            if (!readFlag(arguments, i, options, error)) {
                return std::nullopt;
            }
            static const std::vector<std::string> botFlags = {
                "--connect",    "--room", "--bot",         "--bot-seed",
                "--nudge-step", "--pace", "--delay-report"};
            if (std::find(botFlags.begin(), botFlags.end(), argument) != botFlags.end()) {
                botFlag = argument;
            } else if (argument != "--trace" && argument != "--replay" && argument != "--steps") {
                battleFlag = argument;
            } else if (argument == "--steps") {
                stepsGiven = true;
            }
        } else if (!haveMap) {
            options.mapFile = argument;
            haveMap = true;
        } else {
            error = "more than one map given: '" + options.mapFile + "' and '" + argument + "'";
            return std::nullopt;
        }
    }
    if (!options.connect.empty()) {
        if (haveMap || !battleFlag.empty() || !options.replayFile.empty()) {
            error = "--connect plays the server's battle: it takes no " +
                    (haveMap ? std::string("map")
                             : (!battleFlag.empty() ? battleFlag : std::string("--replay")));
            return std::nullopt;
        }
        return options;
    }
    if (!botFlag.empty()) {
        error = botFlag + " is a bot's, which needs --connect";
        return std::nullopt;
    }
    if (stepsGiven && battleFlag.empty()) {
        battleFlag = "--steps";
    }
    if (!options.replayFile.empty()) {
        if (haveMap || !battleFlag.empty()) {
            error = "--replay brings its own battle: it takes no " + (haveMap ? "map" : battleFlag);
            return std::nullopt;
        }
        return options;
    }
    if (!haveMap) {
        error = "no map file given";
        return std::nullopt;
    }
    // The clock is a 32-bit millisecond count; the last step must still fit in it.
    const long long lastTime = static_cast<long long>(options.steps) * options.tickMs;
    if (lastTime > std::numeric_limits<int32_t>::max()) {
        error = "--steps x --tick-ms must stay within " +
                std::to_string(std::numeric_limits<int32_t>::max()) + " ms";
        return std::nullopt;
    }
    return options;
}
