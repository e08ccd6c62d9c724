#!/usr/bin/env bash
# However cheap drawing is, the game draws no more frames than it runs steps: 62.5 a second.
# Drawing is made free by a preloaded library that also counts the buffer swaps.
# Usage: bash pace_test.sh <dromlin binary> <assets folder> <free drawing library>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

binary=${1:?usage: pace_test.sh <dromlin binary> <assets folder> <free drawing library>}
assets=${2:?usage: pace_test.sh <dromlin binary> <assets folder> <free drawing library>}
library=${3:?usage: pace_test.sh <dromlin binary> <assets folder> <free drawing library>}

require_display
count_file=$(work_file .count)
WORK_FILES+=("$count_file.new")
export DROMLIN_SWAP_COUNT=$count_file
LD_PRELOAD=$(readlink -f "$library") start_game "$binary" "$assets"
wait_for_window "Dromlin_01" 30
sleep 2
first=$(cat "$count_file")
sleep 10
last=$(cat "$count_file")
game_running || fail "the game ended while it was being counted"
[[ $first =~ ^[0-9]+$ && $last =~ ^[0-9]+$ ]] || fail "no swap count could be read ($first, $last)"
frames=$((last - first))
echo "frames drawn in 10 s with free drawing: $frames"
[ "$frames" -le 630 ] || fail "$frames frames in 10 s: more than the 62.5 steps a second"
[ "$frames" -ge 400 ] || fail "only $frames frames in 10 s: the game does not keep its pace"
pass "$frames frames in 10 s with free drawing"
