#!/usr/bin/env bash
# However cheap drawing is, the game draws no more frames than it runs steps, 62.5 a second, and
# it keeps that pace: in the all-teams view of the opening battle soldiers hop and bullets fly
# in most steps, so most steps draw a frame (450 to 540 of 625 measured; a battle at half pace
# would draw fewer than 300). With the help picture open nothing changes on the screen, so
# nothing is drawn until an expose asks for the picture again.
# Drawing is made free by a preloaded library that also counts the buffer swaps.
# Usage: bash pace_test.sh <dromlin binary> <assets folder> <free drawing library>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/battle_lib.sh"

binary=${1:?usage: pace_test.sh <dromlin binary> <assets folder> <free drawing library>}
assets=${2:?usage: pace_test.sh <dromlin binary> <assets folder> <free drawing library>}
library=${3:?usage: pace_test.sh <dromlin binary> <assets folder> <free drawing library>}

require_display
swap_file=$(work_file .swaps)
export DROMLIN_SWAP_COUNT=$swap_file

swaps() {
    local count
    count=$(cat "$swap_file" 2> /dev/null)
    [[ $count =~ ^[0-9]+$ ]] || fail "no swap count could be read (\"$count\")"
    echo "$count"
}

LD_PRELOAD=$(readlink -f "$library") start_game "$binary" "$assets"
wait_for_window "Dromlin_01" 30
place_window
press_key r
press_key r
sleep 1
swaps0=$(swaps)
sleep 10
swaps1=$(swaps)
game_running || fail "the game ended while it was being counted"
frames=$((swaps1 - swaps0))
echo "in 10 s of the all-teams view with free drawing: $frames frames drawn"
[ "$frames" -le 630 ] || fail "$frames frames in 10 s: more than the 62.5 steps a second"
[ "$frames" -ge 350 ] || fail "only $frames frames in 10 s: the game does not keep its pace"

click_at 1 "$HELP_BUTTON_X" "$HELP_BUTTON_Y"
sleep 1
swaps2=$(swaps)
sleep 3
swaps3=$(swaps)
[ "$swaps3" -eq "$swaps2" ] || fail "$((swaps3 - swaps2)) frames drawn in 3 s with the help picture open"

# Unmapped and mapped again, the window is exposed and must show the picture again.
timeout 5 xdotool windowunmap --sync "$WINDOW_ID" || fail "xdotool could not unmap the window"
timeout 5 xdotool windowmap --sync "$WINDOW_ID" || fail "xdotool could not map the window"
sleep 1
[ "$(swaps)" -gt "$swaps3" ] || fail "the exposed window was not drawn again"
game_running || fail "the game ended during the help picture"
pass "$frames frames in 10 s with free drawing; none drawn under the help picture until an expose"
