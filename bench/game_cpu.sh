#!/usr/bin/env bash
# The real game's processor time at its start view: starts it in a virtual X server, waits
# for it to warm up, and prints the process time (user + system) it takes over a stretch of
# real time, as a share of one core. The game seeds its battle from the time; with --seed-one
# a small library preloaded into the game alone makes time() say 1, so that every run fights
# seed 1's battle and runs can be compared.
# Usage: bench/game_cpu.sh [--seed-one] [game binary, default build-bench/dromlin] [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

preload=""
work=$(mktemp -d "${TMPDIR:-/tmp}/dromlin-cpu-XXXXXX")
trap 'rm -rf "$work"' EXIT
if [ "${1:-}" = --seed-one ]; then
    shift
    cat > "$work/seed_one.c" << 'SOURCE'
#include <time.h>
time_t time(time_t* when) {
    if (when != NULL) {
        *when = 1;
    }
    return 1;
}
SOURCE
    cc -shared -fPIC -O2 -o "$work/seed_one.so" "$work/seed_one.c"
    preload=$work/seed_one.so
fi
binary=$(realpath "${1:-$root/build-bench/dromlin}")
seconds=${2:-20}
warm_up=5
[ -x "$binary" ] || { echo "no game at $binary: build it first (bench/run.sh or cmake)" >&2; exit 1; }

cd "$root/assets"
xvfb-run -a -s '-screen 0 1024x768x24' env LD_PRELOAD="$preload" "$binary" > /dev/null 2>&1 &
runner=$!
sleep "$warm_up"
game=$(pgrep -n -f "^$binary\$") || { echo "the game did not start" >&2; exit 1; }
ticks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
kill "$game"
wait "$runner" 2> /dev/null || true
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v s="$seconds" -v hz="$hz" \
    'BEGIN { printf "%d ticks of 1/%d s in %d s: %.1f %% of one core\n", t, hz, s, 100 * t / (hz * s) }'
