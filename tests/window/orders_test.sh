#!/usr/bin/env bash
# Orders with the mouse: a left drag over red soldiers selects them, a right click on open
# floor sends them there, and their tiles empty as they walk away.
# Usage: bash orders_test.sh <dromlin binary> <assets folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/battle_lib.sh"

take_game_arguments "$@"
plan_orders
open_game "$binary" "$assets"
settle 1

before=$(work_file .png)
screenshot "$WINDOW_ID" "$before"
for tile in "${selected[@]}"; do
    read -r r g b < <(tile_colour "$before" $tile)
    is_reddish "$r" "$g" "$b" || fail "no red soldier drawn on its start tile ($tile): $r $g $b"
done

# Drag from the box's top-left corner to its bottom-right corner, well inside the tiles.
drag_left $(($(tile_left $box_left) + 3)) $(($(tile_top $box_top) + 3)) \
    $(($(tile_left $box_right) + 22)) $(($(tile_top $box_bottom) + 22))
click_at 3 $(($(tile_left $goal_x) + 12)) $(($(tile_top $goal_y) + 12))

# Six tiles or more at a hop every 11 frames: a few seconds at any usable frame rate.
after=$(work_file .png)
deadline=$((SECONDS + 30))
while :; do
    settle 1
    screenshot "$WINDOW_ID" "$after"
    left=0
    for tile in "${selected[@]}"; do
        read -r r g b < <(tile_colour "$after" $tile)
        is_reddish "$r" "$g" "$b" || left=$((left + 1))
    done
    arrived=0
    reddish_near "$after" "$goal_x" "$goal_y" && arrived=1
    [ $left -eq ${#selected[@]} ] && [ $arrived -eq 1 ] && break
    [ $SECONDS -lt $deadline ] ||
        fail "$left of ${#selected[@]} selected soldiers left their tiles and arrived=$arrived within 30 s of the order to ($goal)"
done

game_running || fail "the game ended while the soldiers walked"
pass "${#selected[@]} red soldiers selected by a drag walked to ($goal) on a right click"
