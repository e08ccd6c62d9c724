// dromlin-sim: runs a battle without a window and prints its state as JSON lines.
#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <string>
#include <vector>

#include "Options.h"
#include "Runner.h"

namespace {

constexpr int kExitBadArguments = 2;

// Standard output carries only the state lines. The game prints its few diagnostics on
// standard output too, so the state lines get a private copy of it and everything else
// written to standard output, by printf or std::cout alike, lands on standard error.
FILE* takeOverStandardOutput() {
    std::fflush(stdout);
    const int jsonFd = dup(STDOUT_FILENO);
    if (jsonFd < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        return nullptr;
    }
#ifdef _WIN32
    // A trace is the same bytes on every platform: in text mode Windows writes CR LF, and the
    // mode belongs to the descriptor, not to the stream opened on it.
    if (_setmode(jsonFd, _O_BINARY) < 0) {
        return nullptr;
    }
#endif
    return fdopen(jsonFd, "w");
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
    FILE* const json = takeOverStandardOutput();
    if (json == nullptr) {
        std::perror("dromlin-sim: cannot set up standard output");
        return 1;
    }
    const int status = runBattle(*options, [json](const std::string& line) {
        std::fputs(line.c_str(), json);
        std::fputc('\n', json);
    });
    const bool written = std::fflush(json) == 0 && !std::ferror(json);
    std::fclose(json);
    return status != 0 ? status : (written ? 0 : 1);
}
