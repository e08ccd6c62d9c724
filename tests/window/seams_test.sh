#!/usr/bin/env bash
# Tiles meet without seams in a letterboxed window: over the plain floor, no column or row of
# window pixels at a tile edge is darker than the floor's columns and rows inside the tiles.
# Usage: DROMLIN_WINDOW_SIZE=WxH bash seams_test.sh <dromlin binary> <assets folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/battle_lib.sh"

take_game_arguments "$@"
open_game "$binary" "$assets"
# The all-teams view: no fog over the floor.
press_key r
press_key r
shot=$(work_file .png)
timeout 20 import -window "$WINDOW_ID" "$shot" 2> /dev/null || fail "could not take a screenshot"
check_seams "$shot" "the ${BOX_WIDTH} x ${BOX_HEIGHT} picture"
