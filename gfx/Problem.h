#pragma once

#include <cstdio>
#include <string_view>

// The game's one way to tell of a problem (a map that will not load, a picture that is
// missing, a gun that cannot be): the line, a newline, a flush, so that the line is out even
// if the game stops next. On standard output unless a tool has sent problems elsewhere.
namespace problem_detail {
inline std::FILE* sink = nullptr;
}

// Where problem lines go from now on; nullptr means standard output again.
inline void setProblemSink(std::FILE* sink) {
    problem_detail::sink = sink;
}

inline void reportProblem(std::string_view line) {
    std::FILE* const out = problem_detail::sink != nullptr ? problem_detail::sink : stdout;
    std::fwrite(line.data(), 1, line.size(), out);
    std::fputc('\n', out);
    std::fflush(out);
}
