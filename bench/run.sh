#!/usr/bin/env bash
# Builds the benchmarks optimised (build-bench/, or the folder in DROMLIN_BENCH_DIR) and runs
# them all, each on the game's build and on the build with the plain algorithms, then prints
# one table of CPU times and speed-ups. The drawn frames run in a virtual X server with Mesa's
# software renderer drawing on the calling thread, so that CPU time counts the rasterising.
# Takes about a quarter of an hour; `bench/run.sh --quick` skips the plain build's largest
# battle and the whole battles. Results: <build folder>/bench-results/.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${DROMLIN_BENCH_DIR:-build-bench}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DDROMLIN_BENCHMARKS=ON \
      > /dev/null
cmake --build "$dir" -j "$(nproc)" --target dromlin-bench-path dromlin-bench-sim \
      dromlin-bench-sim-plain dromlin-bench-draw dromlin-bench-draw-plain dromlin-sim \
      dromlin-sim-plain dromlin-mapgen > /dev/null
# The drawn frame is also measured on the game as it was before the drawing left out what no
# one sees (commit fc7cfa2), built the same way from a git worktree of its own.
base=fc7cfa2
if [ ! -d "$dir/base-$base" ]; then
    git worktree add --detach "$dir/base-$base" "$base" > /dev/null
fi
cmake -S "$dir/base-$base" -B "$dir/base-$base-build" -DCMAKE_BUILD_TYPE=Release \
      -DBUILD_TESTING=OFF -DDROMLIN_BENCHMARKS=ON > /dev/null
cmake --build "$dir/base-$base-build" -j "$(nproc)" --target dromlin-bench-draw > /dev/null
exec python3 bench/report.py "$dir" "$@"
