#include "Options.h"

#include <cstdint>
#include <limits>

const char* const kUsage =
    "usage: dromlin-sim MAP [--steps N] [--seed S] [--tick-ms T] [--view V] [--orders FILE] "
    "[--record FILE] [--trace] | dromlin-sim --replay FILE [--trace]";

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
    if (flag == "--seed") {
        if (!readNumber(arguments, i, std::numeric_limits<unsigned>::max(), value, error)) {
            return false;
        }
        options.seed = static_cast<unsigned>(value);
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
    // Everything but --trace sets up a battle, which a replay brings along.
    std::string battleFlag;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() > 1 && argument[0] == '-') {
            if (!readFlag(arguments, i, options, error)) {
                return std::nullopt;
            }
            if (argument != "--trace" && argument != "--replay") {
                battleFlag = argument;
            }
        } else if (!haveMap) {
            options.mapFile = argument;
            haveMap = true;
        } else {
            error = "more than one map given: '" + options.mapFile + "' and '" + argument + "'";
            return std::nullopt;
        }
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
