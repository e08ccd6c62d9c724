#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <utility>

// How a case is run: a fixed number of iterations and of repetitions, 0 for the library's own
// choice. Only what is set appears in the case's name, which bench/report.py reads.
struct Runs {
    int iterations = 0;
    int repetitions = 0;
};

// Registers function(state, arguments...) as the case "family/name", as BENCHMARK_CAPTURE
// would, run as `runs` says and reported in `unit`.
template <class Function, class... Arguments>
void registerCase(const char* family, const char* name, Runs runs, benchmark::TimeUnit unit,
                  Function function, Arguments&&... arguments) {
    const std::string fullName = std::string(family) + "/" + name;
    benchmark::internal::Benchmark* const registered = benchmark::RegisterBenchmark(
        fullName.c_str(), function, std::forward<Arguments>(arguments)...);
    if (runs.iterations > 0) {
        registered->Iterations(runs.iterations);
    }
    if (runs.repetitions > 0) {
        registered->Repetitions(runs.repetitions);
    }
    registered->Unit(unit);
}
