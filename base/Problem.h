#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
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

// Text from a file, fit to quote in a problem line: at most `most` characters, each control
// character and each byte beyond ASCII shown as '?', so that the line stays one line and says
// nothing to the terminal.
inline std::string printableExcerpt(std::string_view text, std::size_t most = 40) {
    std::string shown;
    for (const char c : text.substr(0, most)) {
        shown += c >= ' ' && c <= '~' ? c : '?';
    }
    return text.size() > most ? shown + "..." : shown;
}
