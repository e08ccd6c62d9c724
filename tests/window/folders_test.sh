#!/usr/bin/env bash
# Started outside its folder the game still finds its files; where it finds none, the window
# says so in plain lines, while standard output keeps its one line per failed file.
# Usage: bash folders_test.sh <dromlin binary> <assets folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/battle_lib.sh"

take_game_arguments "$@"
root=$(cd "$here/../.." && pwd)

# From the repository's root, which holds no map1.txt: the build tree's binary falls back on
# the pictures it was built with.
open_game "$binary" "$root"
settle 1
shot=$(work_file .png)
screenshot "$WINDOW_ID" "$shot"
[ "$(banner_kind "$shot")" = red ] || fail "started from $root the game shows no red banner: $(banner_kind "$shot")"
stop_game
[ ! -s "$GAME_OUT" ] || fail "started from $root the game printed: $(head -n 3 "$GAME_OUT")"

# A copy of the binary elsewhere does not look in the build tree: in an empty folder nothing
# loads. The window is not the blank field the untextured battle would be.
copy_dir=$(work_file .bin)
rm -f "$copy_dir" && mkdir "$copy_dir" && cp "$binary" "$copy_dir/dromlin" || fail "could not copy the binary"
empty=$(work_file .empty)
rm -f "$empty" && mkdir "$empty"
open_game "$copy_dir/dromlin" "$empty"
settle 1
screenshot "$WINDOW_ID" "$shot"
dark=$("$CONVERT" "$shot" -crop 800x300+60+230 +repage -colorspace gray -threshold 35% \
    -negate -format '%[fx:int(w*h*mean+0.5)]' info:)
light=$("$CONVERT" "$shot" -colorspace gray -format '%[fx:int(100*mean+0.5)]' info:)
[ "${dark:-0}" -gt 2000 ] || fail "no dark text over the middle of the window ($dark dark pixels)"
[ "${light:-0}" -gt 70 ] && [ "${light:-0}" -lt 99 ] ||
    fail "the window is not light paper with text on it (mean grey $light %)"
game_running || fail "the game ended with its files missing"
stop_game
lines=$(wc -l < "$GAME_OUT")
[ "$lines" -eq 57 ] || fail "standard output has $lines lines, not the 45 pictures, 11 fonts and the map"
grep -qx "map1.txt: cannot open" "$GAME_OUT" || fail "standard output does not name the missing map"

# A broken map beside the pictures: the window says so rather than show an empty field.
broken=$(work_file .broken)
rm -f "$broken" && mkdir "$broken" && cp -r "$assets"/. "$broken"/ && echo "not a map" > "$broken/map1.txt"
open_game "$copy_dir/dromlin" "$broken"
settle 1
screenshot "$WINDOW_ID" "$shot"
[ "$(banner_kind "$shot")" != red ] || fail "with a broken map the battle's banner is shown over an empty field"
dark=$("$CONVERT" "$shot" -crop 800x300+60+230 +repage -colorspace gray -threshold 35% \
    -negate -format '%[fx:int(w*h*mean+0.5)]' info:)
[ "${dark:-0}" -gt 1000 ] || fail "with a broken map there is no text in the window ($dark dark pixels)"
stop_game
[ "$(wc -l < "$GAME_OUT")" -eq 1 ] || fail "with a broken map standard output is not one line: $(cat "$GAME_OUT")"

pass "found its files from $root; said what was wrong in an empty folder ($lines lines kept) and with a broken map"
