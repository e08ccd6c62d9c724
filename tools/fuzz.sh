#!/usr/bin/env bash
# Fuzzes the map loader (and a short battle on every map it accepts) with libFuzzer, under
# AddressSanitizer and UndefinedBehaviorSanitizer, for the given number of seconds. Starts
# from the seed maps in tests/fuzz/corpus; new inputs go to build-fuzz/corpus, and an input
# that crashes is saved in build-fuzz/ as crash-<hash>.
# Usage: tools/fuzz.sh [seconds, default 60] [parallel jobs, default 1]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
jobs=${2:-1}
build=build-fuzz

tools/install-deps.sh fuzz
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DDROMLIN_FUZZ=ON -DDROMLIN_SIM_ONLY=ON -DDROMLIN_BENCHMARKS=OFF > /dev/null
cmake --build "$build" --target dromlin-fuzz-map -j "$(nproc)" > /dev/null

mkdir -p "$build/corpus"
extra=()
if [ "$jobs" -gt 1 ]; then
    extra=(-jobs="$jobs" -workers="$jobs")
fi
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/dromlin-fuzz-map" "$build/corpus" tests/fuzz/corpus \
    -dict=tests/fuzz/map.dict -max_total_time="$seconds" -timeout=10 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$build/" "${extra[@]}"
