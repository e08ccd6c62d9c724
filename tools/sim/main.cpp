// dromlin-sim: runs a battle without a window and prints its state as JSON lines.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <string>
#include <vector>

#include "Bot.h"
#include "Options.h"
#include "Runner.h"
#include "base/Problem.h"

namespace {

constexpr int kExitBadArguments = 2;

// Standard output carries only the state lines, as the same bytes on every platform; the game's
// problem lines go to standard error.
bool prepareStandardStreams() {
    setProblemSink(stderr);
#ifdef _WIN32
    // A trace is the same bytes on every platform: in text mode Windows writes CR LF.
    return _setmode(_fileno(stdout), _O_BINARY) >= 0;
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::string error;
    const std::optional<RunOptions> options = parseOptions(arguments, error);
    if (!options) {
        std::fprintf(stderr, "dromlin-sim: %s (%s)\n", error.c_str(), kUsage);
        return kExitBadArguments;
    }
    if (!prepareStandardStreams()) {
        std::perror("dromlin-sim: cannot set up standard output");
        return 1;
    }
    const LineSink emit = [](const std::string& line) {
        std::fputs(line.c_str(), stdout);
        std::fputc('\n', stdout);
    };
    const int status =
        options->connect.empty() ? runBattle(*options, emit) : runBot(*options, emit);
    const bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    return status != 0 ? status : (written ? 0 : 1);
}
