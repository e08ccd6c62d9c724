#!/usr/bin/env bash
# However cheap drawing is, the battle runs 62.5 steps a second and the game draws no more
# frames than it runs steps; with the help picture open nothing changes on the screen, so
# nothing is drawn, until an expose asks for the picture again. Drawing is made free by a
# preloaded library that also counts the buffer swaps; the game counts its steps.
# Usage: bash pace_test.sh <dromlin binary> <assets folder> <free drawing library>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/battle_lib.sh"

binary=${1:?usage: pace_test.sh <dromlin binary> <assets folder> <free drawing library>}
assets=${2:?usage: pace_test.sh <dromlin binary> <assets folder> <free drawing library>}
library=${3:?usage: pace_test.sh <dromlin binary> <assets folder> <free drawing library>}

require_display
swap_file=$(work_file .swaps)
step_file=$(work_file .steps)
WORK_FILES+=("$swap_file.new" "$step_file.new")
export DROMLIN_SWAP_COUNT=$swap_file DROMLIN_STEP_COUNT=$step_file

# count: prints "SWAPS STEPS" so far.
count() {
    local swaps steps
    swaps=$(cat "$swap_file" 2> /dev/null)
    steps=$(cat "$step_file" 2> /dev/null)
    [[ $swaps =~ ^[0-9]+$ && $steps =~ ^[0-9]+$ ]] ||
        fail "no swap and step counts could be read (\"$swaps\", \"$steps\")"
    echo "$swaps $steps"
}

LD_PRELOAD=$(readlink -f "$library") start_game "$binary" "$assets"
wait_for_window "Dromlin_01" 30
place_window
sleep 2
read -r swaps0 steps0 < <(count)
sleep 10
read -r swaps1 steps1 < <(count)
game_running || fail "the game ended while it was being counted"
steps=$((steps1 - steps0))
frames=$((swaps1 - swaps0))
echo "in 10 s with free drawing: $steps steps, $frames frames drawn"
[ "$steps" -le 630 ] || fail "$steps steps in 10 s: more than 62.5 a second"
[ "$steps" -ge 560 ] || fail "only $steps steps in 10 s: the battle does not keep its pace"
# The two counts are read a moment apart: one step more may have drawn its frame.
[ "$frames" -le $((steps + 1)) ] || fail "$frames frames drawn in $steps steps"

click_at 1 961 30
sleep 1
read -r swaps2 steps2 < <(count)
sleep 3
read -r swaps3 steps3 < <(count)
echo "with the help picture open, in 3 s: $((steps3 - steps2)) steps, $((swaps3 - swaps2)) frames drawn"
[ $((steps3 - steps2)) -ge 150 ] || fail "the steps stopped under the help picture"
[ "$swaps3" -eq "$swaps2" ] || fail "$((swaps3 - swaps2)) frames drawn in 3 s with the help picture open"

# Unmapped and mapped again, the window is exposed and must show the picture again.
timeout 5 xdotool windowunmap --sync "$WINDOW_ID" || fail "xdotool could not unmap the window"
timeout 5 xdotool windowmap --sync "$WINDOW_ID" || fail "xdotool could not map the window"
sleep 1
read -r swaps4 steps4 < <(count)
[ "$swaps4" -gt "$swaps3" ] || fail "the exposed window was not drawn again"
game_running || fail "the game ended during the help picture"
pass "$steps steps and $frames frames in 10 s with free drawing; none drawn under the help picture until an expose"
