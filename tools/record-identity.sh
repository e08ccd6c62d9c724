#!/usr/bin/env bash
# Records the identity references again from the plain build: the pixel fingerprints of the
# frame printer's scenes (tests/identity/fingerprints.txt) and, with --traces, the battle
# traces (tests/identity/traces/*.jsonl.gz, each again with the map, seed, view and steps its
# name gives). Only for a change meant to alter the picture or the rules, never a speed-up:
# see "Changing the picture or the rules on purpose" in docs/development.md.
# Usage: tools/record-identity.sh [--traces] [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."

traces=false
if [ "${1:-}" = --traces ]; then
    traces=true
    shift
fi
build=${1:-build}
identity=tests/identity

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
          -DDROMLIN_BENCHMARKS=ON > /dev/null
fi
if ! grep -q '^DROMLIN_BENCHMARKS:BOOL=ON' "$build/CMakeCache.txt"; then
    echo "$build is configured without -DDROMLIN_BENCHMARKS=ON: it has no frame printer" >&2
    exit 1
fi
targets=(dromlin-frames-plain)
if $traces; then
    targets+=(dromlin-sim-plain)
fi
cmake --build "$build" --target "${targets[@]}" -j 2 > /dev/null

# The frame printer needs an X display; without one it gets a virtual X server.
display=()
if [ -z "${DISPLAY:-}" ]; then
    display=(xvfb-run -a -s "-screen 0 1600x1200x24 -noreset")
fi
fingerprints=$(mktemp)
trap 'rm -f "$fingerprints"' EXIT
"${display[@]}" "$build/dromlin-frames-plain" > "$fingerprints"
if cmp -s "$fingerprints" "$identity/fingerprints.txt"; then
    echo "fingerprints: unchanged"
else
    cp "$fingerprints" "$identity/fingerprints.txt"
    echo "fingerprints: recorded again in $identity/fingerprints.txt"
fi

if ! $traces; then
    exit 0
fi
for recorded in "$identity"/traces/*.jsonl.gz; do
    name=$(basename "$recorded" .jsonl.gz)
    if [[ ! $name =~ ^(.+)-seed([0-9]+)-view([0-9]+)-steps([0-9]+)$ ]]; then
        echo "traces: $recorded: not named map-seedN-viewN-stepsN, left alone"
        continue
    fi
    map=${BASH_REMATCH[1]}
    if [ "$map" = map1 ]; then
        mapFile=assets/map1.txt
    else
        mapFile=$identity/maps/$map.txt
    fi
    trace=$("$build/dromlin-sim-plain" "$mapFile" --trace --steps "${BASH_REMATCH[4]}" \
            --seed "${BASH_REMATCH[2]}" --view "${BASH_REMATCH[3]}" 2> /dev/null)
    # Rewritten only when the battle changed, so an unchanged trace leaves no difference.
    if [ "$trace" = "$(gzip -dc "$recorded")" ]; then
        echo "traces: $name unchanged"
    else
        printf '%s\n' "$trace" | gzip -9 -n > "$recorded"
        echo "traces: $name recorded again"
    fi
done
