#!/usr/bin/env bash
# Fuzzes the map loader (and a short battle on every map it accepts), the replay reader (and
# a short re-fight of every replay it accepts), or the versus server's rooms (a few connections'
# messages, sound and broken), with libFuzzer, under AddressSanitizer and
# UndefinedBehaviorSanitizer, for the given number of seconds. Starts from the seeds in
# tests/fuzz/corpus (maps), tests/fuzz/replay-corpus (replays) or tests/fuzz/host-corpus; new
# inputs go to the folder of the same name in build-fuzz/, and an input that crashes is saved
# in build-fuzz/ as crash-<hash>.
# Usage: tools/fuzz.sh [seconds, default 60] [parallel jobs, default 1] [map|replay|host,
# default map]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
jobs=${2:-1}
what=${3:-map}
build=build-fuzz
case $what in
    map) target=dromlin-fuzz-map corpus=corpus dict=map.dict max_len=8192 ;;
    replay) target=dromlin-fuzz-replay corpus=replay-corpus dict=replay.dict max_len=16384 ;;
    host) target=dromlin-fuzz-host corpus=host-corpus dict=host.dict max_len=8192 ;;
    *) echo "usage: $0 [seconds] [jobs] [map|replay|host]" >&2; exit 2 ;;
esac

tools/install-deps.sh fuzz
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DDROMLIN_FUZZ=ON -DDROMLIN_SIM_ONLY=ON -DDROMLIN_BENCHMARKS=OFF > /dev/null
cmake --build "$build" --target "$target" -j "$(nproc)" > /dev/null

mkdir -p "$build/$corpus"
extra=()
if [ "$jobs" -gt 1 ]; then
    extra=(-jobs="$jobs" -workers="$jobs")
fi
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/$target" "$build/$corpus" "tests/fuzz/$corpus" \
    -dict="tests/fuzz/$dict" -max_total_time="$seconds" -timeout=10 -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$build/" "${extra[@]}"
