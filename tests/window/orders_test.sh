#!/usr/bin/env bash
# Orders with the mouse: a left drag over red soldiers selects them, a right click on open
# floor sends them there, and their tiles empty as they walk away.
# Usage: bash orders_test.sh <dromlin binary> <assets folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/battle_lib.sh"

binary=${1:?usage: orders_test.sh <dromlin binary> <assets folder>}
assets=${2:?usage: orders_test.sh <dromlin binary> <assets folder>}

is_reddish() { [ "$1" -gt $(($2 + 40)) ] && [ "$1" -gt $(($3 + 40)) ]; }

require_display
[ -f "$assets/map1.txt" ] || fail "no map1.txt in $assets"
read_map "$assets/map1.txt"

# The box: 5 x 5 tiles around the red soldier with the most red team-mates within two tiles.
reds=()
while read -r x y; do reds+=("$x $y"); done < <(tiles_with r)
[ ${#reds[@]} -gt 0 ] || fail "the map has no red soldier"
most=0
for anchor in "${reds[@]}"; do
    read -r ax ay <<< "$anchor"
    count=0
    for tile in "${reds[@]}"; do
        read -r x y <<< "$tile"
        [ $((x - ax)) -ge -2 ] && [ $((x - ax)) -le 2 ] && [ $((y - ay)) -ge -2 ] &&
            [ $((y - ay)) -le 2 ] && count=$((count + 1))
    done
    [ $count -gt $most ] && most=$count && first_x=$ax && first_y=$ay
done
box_left=$((first_x - 2 < 0 ? 0 : first_x - 2))
box_top=$((first_y - 2 < 0 ? 0 : first_y - 2))
box_right=$((first_x + 2 >= MAP_COLUMNS ? MAP_COLUMNS - 1 : first_x + 2))
box_bottom=$((first_y + 2 >= MAP_ROWS ? MAP_ROWS - 1 : first_y + 2))
selected=()
for tile in "${reds[@]}"; do
    read -r x y <<< "$tile"
    [ "$x" -ge $box_left ] && [ "$x" -le $box_right ] && [ "$y" -ge $box_top ] &&
        [ "$y" -le $box_bottom ] && selected+=("$tile")
done

# The destination: open floor at least six tiles from every start tile, nearest to the
# box's middle soldier, with its neighbours open too so that the walkers gather around it.
open_around() {
    local dx dy c
    for dy in -1 0 1; do
        for dx in -1 0 1; do
            c=$(map_cell $(($1 + dx)) $(($2 + dy)))
            [ "$c" = . ] || return 1
        done
    done
}
goal=""
best=1000000
for ((y = 1; y < MAP_ROWS - 1; y++)); do
    for ((x = 1; x < MAP_COLUMNS - 1; x++)); do
        d=$(((x - first_x) * (x - first_x) + (y - first_y) * (y - first_y)))
        [ $d -ge 36 ] && [ $d -lt $best ] || continue
        open_around $x $y || continue
        far=1
        for tile in "${selected[@]}"; do
            read -r sx sy <<< "$tile"
            [ $(((x - sx) * (x - sx) + (y - sy) * (y - sy))) -ge 36 ] || far=0
        done
        [ $far -eq 1 ] && goal="$x $y" && best=$d
    done
done
[ -n "$goal" ] || fail "the map has no open floor to send the soldiers to"
read -r goal_x goal_y <<< "$goal"

start_game "$binary" "$assets"
wait_for_window "Dromlin_01" 30
place_window
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

# reddish_near X Y: true when a red soldier shows on a tile within one tile of (X, Y). The
# destination itself may carry the destination flag over a soldier.
reddish_near() {
    local dx dy r g b
    for dy in -1 0 1; do
        for dx in -1 0 1; do
            read -r r g b < <(tile_colour "$after" $(($1 + dx)) $(($2 + dy)))
            is_reddish "$r" "$g" "$b" && return 0
        done
    done
    return 1
}

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
    reddish_near "$goal_x" "$goal_y" && arrived=1
    [ $left -eq ${#selected[@]} ] && [ $arrived -eq 1 ] && break
    [ $SECONDS -lt $deadline ] ||
        fail "$left of ${#selected[@]} selected soldiers left their tiles and arrived=$arrived within 30 s of the order to ($goal)"
done

game_running || fail "the game ended while the soldiers walked"
pass "${#selected[@]} red soldiers selected by a drag walked to ($goal) on a right click"
