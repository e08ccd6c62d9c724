#!/usr/bin/env bash
# The real game's processor time at its start view: starts it in a virtual X server, waits
# for it to warm up, and prints the process time (user + system) it takes over a stretch of
# real time, as a share of one core. The game seeds its battle from the time; with --seed-one
# a small library preloaded into the game alone makes time() say 1, so that every run fights
# seed 1's battle and runs can be compared.
# Two idle cases, where nothing on the screen moves: --help-open clicks the help button once the
# game runs, so the battle stands paused under the help picture; --still runs the game in a
# temporary folder whose map1.txt holds only the red soldiers, who stand waiting for orders.
# Usage: bench/game_cpu.sh [--seed-one] [--help-open | --still]
#                          [game binary, default build-bench/dromlin] [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/support/lib.sh"

preload=""
work=$WORK_DIR
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
idle_case=""
case "${1:-}" in
--help-open | --still)
    idle_case=$1
    shift
    ;;
esac
folder=$root/assets
if [ "$idle_case" = --still ]; then
    folder=$work/still
    mkdir "$folder"
    ln -s "$root"/assets/* "$folder"/
    rm "$folder/map1.txt"
    tr b . < "$root/assets/map1.txt" > "$folder/map1.txt"
fi

binary=$(realpath "${1:-$root/build-bench/dromlin}")
seconds=${2:-20}
warm_up=5
[ -x "$binary" ] || { echo "no game at $binary: build it first (bench/run.sh or cmake)" >&2; exit 1; }

cd "$folder"
xvfb-run -a -s '-screen 0 1024x768x24' env LD_PRELOAD="$preload" "$binary" > /dev/null 2>&1 &
runner=$!
sleep "$warm_up"
game=$(pgrep -n -f "^$binary\$") || { echo "the game did not start" >&2; exit 1; }
if [ "$idle_case" = --help-open ]; then
    # On the game's own virtual display, found in its environment.
    export $(tr '\0' '\n' < "/proc/$game/environ" | grep -E '^(DISPLAY|XAUTHORITY)=')
    window=$(xdotool search --onlyvisible --name '^Dromlin_01$' | head -n 1)
    xdotool mousemove --window "$window" "$HELP_BUTTON_X" "$HELP_BUTTON_Y" click 1
    sleep 1
fi
ticks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
kill "$game"
wait "$runner" 2> /dev/null || true
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v s="$seconds" -v hz="$hz" \
    'BEGIN { printf "%d ticks of 1/%d s in %d s: %.1f %% of one core\n", t, hz, s, 100 * t / (hz * s) }'
