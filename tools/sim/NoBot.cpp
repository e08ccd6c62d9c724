// The runner of a build without the network (the plain build, the page's node runner).
#include "Bot.h"
#include "base/Problem.h"

int runBot(const RunOptions&, const LineSink&) {
    reportProblem("--connect is not in this build");
    return kExitBadInput;
}
