#!/usr/bin/env bash
# The view-mode key: the game starts in the red team's view, where what red has not
# discovered is black; "r" gives the blue team's view, "r" again the view of everything.
# Usage: bash views_test.sh <dromlin binary> <assets folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/battle_lib.sh"

take_game_arguments "$@"
open_game "$binary" "$assets"
settle 1

shot=$(work_file .png)
screenshot "$WINDOW_ID" "$shot"
[ "$(banner_kind "$shot")" = red ] || fail "the game does not start with the red banner: $(banner_kind "$shot")"

# Red's soldiers see up to 16 tiles; every tile farther than that from all of them is
# undiscovered at the start, so the fog covers it black.
read -r -a reds < <(tiles_with r | tr '\n' ' ')
[ ${#reds[@]} -gt 0 ] || fail "the map has no red soldier"
far_tiles=0
for ((y = 0; y < MAP_ROWS; y += 3)); do
    for ((x = 0; x < MAP_COLUMNS; x += 3)); do
        near=0
        for ((i = 0; i < ${#reds[@]}; i += 2)); do
            dx=$((x - reds[i])); dy=$((y - reds[i + 1]))
            [ $((dx * dx + dy * dy)) -le $((20 * 20)) ] && near=1 && break
        done
        [ $near -eq 1 ] && continue
        read -r r g b < <(tile_colour "$shot" "$x" "$y")
        is_black "$r" "$g" "$b" || fail "tile ($x, $y), far from every red soldier, is not black in the red view: $r $g $b"
        far_tiles=$((far_tiles + 1))
    done
done
[ $far_tiles -gt 0 ] || fail "the map has no tile far from every red soldier to check the fog on"
read -r r g b < <(tile_colour "$shot" "${reds[0]}" "${reds[1]}")
is_black "$r" "$g" "$b" && fail "the first red soldier's own tile is black in the red view"

press_key r
screenshot "$WINDOW_ID" "$shot"
[ "$(banner_kind "$shot")" = blue ] || fail "\"r\" does not give the blue banner: $(banner_kind "$shot")"

press_key r
screenshot "$WINDOW_ID" "$shot"
[ "$(banner_kind "$shot")" = all ] || fail "\"r\" twice does not give the all-teams banner: $(banner_kind "$shot")"
# Nothing is fogged in the view of everything.
read -r -a far < <(echo "$((MAP_COLUMNS - 1)) $((MAP_ROWS / 2))")
read -r r g b < <(tile_colour "$shot" "${far[0]}" "${far[1]}")
is_black "$r" "$g" "$b" && fail "tile (${far[0]}, ${far[1]}) is still black in the all-teams view"

press_key r
screenshot "$WINDOW_ID" "$shot"
[ "$(banner_kind "$shot")" = red ] || fail "a third \"r\" does not return to the red banner: $(banner_kind "$shot")"

game_running || fail "the game ended while its views were switched"
pass "red banner and black undiscovered ground at start ($far_tiles far tiles), then blue, all and red again"
