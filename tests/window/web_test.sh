#!/usr/bin/env bash
# The web page, played in headless Chromium: the battle is drawn letterboxed between black
# bars, "r" changes the view, the help button opens the help picture and a click closes it,
# a drag and a right click make red soldiers walk, and ten seconds of real time advance the
# battle by about 625 steps (where the machine draws 20 frames a second or more), and at
# 1280 x 800 the scaled picture shows no seams between tiles.
# Needs the page built (tools/web.sh) and the driver's packages (npm ci in tests/window/web).
# Usage: bash web_test.sh <page folder, dist/web> <assets folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/battle_lib.sh"

site=${1:?usage: web_test.sh <page folder> <assets folder>}
assets=${2:?usage: web_test.sh <page folder> <assets folder>}

# The page is this much wider than the 1024 x 768 picture on each side.
bars=100
# The battle's pace: 62.5 steps a second of real time.
steps_per_second=62.5

for file in index.html dromlin.js dromlin.wasm dromlin.data; do
    [ -f "$site/$file" ] || fail "no $file in $site: build the page with tools/web.sh"
done
[ -d "$here/web/node_modules/puppeteer-core" ] ||
    fail "the driver's packages are missing: run npm ci in $here/web"
command -v node > /dev/null || fail "the web page's test needs node"
[ -x "${CHROMIUM:-/usr/bin/chromium}" ] || fail "the web page's test needs Chromium"
read_shipped_map "$assets"
plan_orders

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port" > /dev/null 2>&1 &
server=$!
stop_server() { kill "$server" 2> /dev/null; wait "$server" 2> /dev/null; cleanup; }
trap stop_server EXIT
deadline=$((SECONDS + 10))
until python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" 2> /dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the page's web server did not answer on port $port"
    sleep 0.2
done

# DROMLIN_WEB_SHOTS names a folder that keeps the screenshots for a look afterwards.
if [ -n "${DROMLIN_WEB_SHOTS:-}" ]; then
    shots=$DROMLIN_WEB_SHOTS
    mkdir -p "$shots" || fail "cannot make the folder $shots"
else
    shots=$WORK_DIR/shots
    mkdir "$shots"
fi
node "$here/web/drive.mjs" "http://127.0.0.1:$port/" "$shots" "$bars" \
    $(($(tile_left $box_left) + 3)) $(($(tile_top $box_top) + 3)) \
    $(($(tile_left $box_right) + 22)) $(($(tile_top $box_bottom) + 22)) \
    $(($(tile_left $goal_x) + 12)) $(($(tile_top $goal_y) + 12)) \
    "$HELP_BUTTON_X" "$HELP_BUTTON_Y" ||
    fail "the driver could not play the page through"

# Every shot: the bars stay black, and the picture between them is cut out for the checks,
# which then use the 1024 x 768 screen's own positions.
for shot in "$shots"/shot-*.png; do
    [[ $shot == *-screen.png ]] && continue
    read -r r g b < <(region_colour "$shot" "$bars" 768 0 0)
    is_black "$r" "$g" "$b" || fail "the bar left of the picture is not black in $(basename "$shot"): $r $g $b"
    "$CONVERT" "$shot" -crop "1024x768+${bars}+0" +repage "${shot%.png}-screen.png"
done
screen() { echo "$shots/shot-$1-screen.png"; }

[ "$(banner_kind "$(screen start)")" = red ] || fail "the page starts without the red banner: $(banner_kind "$(screen start)")"
for tile in "${selected[@]}"; do
    read -r r g b < <(tile_colour "$(screen start)" $tile)
    is_reddish "$r" "$g" "$b" || fail "no red soldier drawn on its start tile ($tile): $r $g $b"
done
[ "$(colour_count "$(screen start)")" -gt 200 ] || fail "the battle is not drawn: too few colours"
[ "$(banner_kind "$(screen blue)")" = blue ] || fail "r gave no blue banner: $(banner_kind "$(screen blue)")"

help_shown "$(screen help)" || fail "no help picture after a click on the help button ($FRAME_COLOUR)"
help_shown "$(screen closed)" && fail "the help picture is still shown after a click"
[ "$(banner_kind "$(screen closed)")" = red ] || fail "the view is not red again after three r's"

walked=""
for after in 150 300 450 600 750 900; do
    left=0
    for tile in "${selected[@]}"; do
        read -r r g b < <(tile_colour "$(screen walk$after)" $tile)
        is_reddish "$r" "$g" "$b" || left=$((left + 1))
    done
    [ $left -eq ${#selected[@]} ] && reddish_near "$(screen walk$after)" "$goal_x" "$goal_y" &&
        walked=$after && break
done
[ -n "$walked" ] || fail "the ${#selected[@]} selected soldiers did not all walk to ($goal_x $goal_y) within 900 steps"

# 62.5 steps a second, at most four a frame. Only a machine that draws 20 frames a second or
# more can show the full pace; a slower one runs up to four steps a frame and the battle slows
# down evenly, so there only the cap is checked.
read -r steps seconds frames < "$shots/pace.txt"
read -r low high rate fps < <(awk -v s="$steps" -v t="$seconds" -v f="$frames" -v p="$steps_per_second" \
    'function min(a, b) { return a < b ? a : b }
     BEGIN { printf "%d %d %.1f %.1f\n", (f >= 20 * t ? 0.9 * p * t : f), min(1.02 * p * t + 1, 4 * f), s / t, f / t }')
[ "$steps" -ge "$low" ] && [ "$steps" -le "$high" ] ||
    fail "$steps steps in $seconds s ($rate a second, at $fps frames a second): not the pace of $steps_per_second a second, at most 4 a frame"
fit_box 1280 800
check_seams "$shots/seams-1280x800.png" "the page at 1280 x 800"

pass "the web page plays: banner, views, help, orders walked within $walked steps; $steps steps in $seconds s ($rate a second, $fps frames a second)"
