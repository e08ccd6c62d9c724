#!/usr/bin/env bash
# valgrind's memcheck over the game in a virtual X server for a short battle (with a few
# clicks and keys) and over a short soak: no invalid read or write, no use of an uninitialised
# value, no definite leak. Reports from inside Mesa, X, GLUT and DevIL are suppressed by
# tools/memcheck.supp; everything in the game's own code counts. Logs go to build/memcheck-*.log.
# Usage: tools/memcheck.sh [seconds of battle, default 25] [soak steps, default 3000]
# BUILD_DIR names the build directory (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/support/lib.sh

seconds=${1:-25}
steps=${2:-3000}
build=${BUILD_DIR:-build}

tools/install-deps.sh memcheck
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" --target dromlin dromlin-soak -j "$(nproc)" > /dev/null

memcheck=(valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite
          --errors-for-leak-kinds=definite --track-origins=yes --num-callers=30
          --suppressions="$PWD/tools/memcheck.supp" --gen-suppressions=all)

# clean LOG: the log's error summary says no error (definite leaks count as errors here).
clean() {
    grep -q "ERROR SUMMARY: 0 errors" "$1"
}

status=0

soak_log=$PWD/$build/memcheck-soak.log
"${memcheck[@]}" --log-file="$soak_log" "$build/dromlin-soak" --steps "$steps" \
    --battle-steps 1000 --max-side 32 --max-soldiers 16 > /dev/null || status=1
grep -E "ERROR SUMMARY|definitely lost" "$soak_log" | sed 's/^==[0-9]*== /soak: /'
clean "$soak_log" || status=1

game_log=$PWD/$build/memcheck-game.log
binary=$PWD/$build/dromlin
# The game runs until its window closes; it is stopped after the battle, and memcheck
# reports on the way out.
export SECONDS_OF_BATTLE=$seconds HELP_BUTTON_X HELP_BUTTON_Y
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    cd assets
    "$@" &
    game=$!
    for _ in $(seq 120); do
        xdotool search --name "^Dromlin_01$" > /dev/null 2>&1 && break
        sleep 1
    done
    window=$(xdotool search --name "^Dromlin_01$" | head -n 1)
    xdotool windowmove "$window" 0 0 windowfocus "$window" 2> /dev/null
    sleep 3
    # Select the red team, order it about, change the view, open and close the help picture.
    xdotool mousemove 10 70 mousedown 1 mousemove 500 700 mouseup 1 sleep 1 \
        mousemove 700 400 click 3 sleep 1 keydown ctrl click 3 keyup ctrl sleep 1 \
        key r key r key g key h key e key p key i key grave key plus key minus key w key d \
        mousemove "$HELP_BUTTON_X" "$HELP_BUTTON_Y" click 1 sleep 2 click 1 2> /dev/null
    sleep "$SECONDS_OF_BATTLE"
    # A background job of a script ignores SIGINT; SIGTERM ends the game, and memcheck
    # still writes its summary and leak check.
    kill -TERM "$game"
    wait "$game"
    true
' memcheck "${memcheck[@]}" --log-file="$game_log" "$binary" || true
grep -E "ERROR SUMMARY|definitely lost" "$game_log" | sed 's/^==[0-9]*== /game: /'
clean "$game_log" || status=1

[ $status -eq 0 ] && echo "memcheck: clean" || echo "memcheck: errors, see $build/memcheck-*.log"
exit $status
