#!/usr/bin/env bash
# Makes every picture in docs/ again, from the real game: the contact sheet of the pictures
# (tools/pictures), the red team's view at the start and a battle under way in the all-teams
# view (the game under a virtual X server), and the web page in headless Chromium. Builds
# what it needs. Run it after changing how anything looks, and commit the pictures.
# Usage: tools/docs-pictures.sh     (DROMLIN_BUILD names the desktop build folder, build/)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${DROMLIN_BUILD:-build}
screen="-screen 0 1024x768x24 -noreset"

# The game's window under the virtual X server: the script runs itself there.
if [ "${1:-}" = --window-shots ]; then
    # The window tests' helpers check each step themselves and are not written for errexit.
    set +e
    source "$root/tests/window/battle_lib.sh"
    binary=$2
    open_game "$binary" "$root/assets"
    settle 1.5
    shot=$(work_file .png)
    screenshot "$WINDOW_ID" "$shot"
    "$CONVERT" "$shot" -strip "$root/docs/red-view.png"
    # The all-teams view, where both teams fight on their own, zoomed in on the middle.
    press_key r
    press_key r
    focus_game
    timeout 20 xdotool key --clearmodifiers --repeat 16 --delay 60 plus
    settle 14
    screenshot "$WINDOW_ID" "$shot"
    "$CONVERT" "$shot" -strip "$root/docs/screenshot.png"
    game_running || fail "the game ended while its pictures were taken"
    exit 0
fi

tools/install-deps.sh docs-pictures

echo "docs/pictures.png: the contact sheet (tools/pictures/make_pictures.py)"
/usr/bin/python3 tools/pictures/make_pictures.py

echo "docs/red-view.png, docs/screenshot.png: the game in $build/"
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j 2 --target dromlin
xvfb-run -a -s "$screen" bash "$0" --window-shots "$root/$build/dromlin"

echo "docs/web.png: the page in headless Chromium (tools/web.sh)"
tools/web.sh > /dev/null
[ -d tests/window/web/node_modules/puppeteer-core ] ||
    npm ci --prefix tests/window/web --no-audit --no-fund --loglevel=error
shots=$(mktemp -d "${TMPDIR:-/tmp}/dromlin-docs-XXXXXX")
trap 'rm -rf "$shots"' EXIT
DROMLIN_WEB_SHOTS=$shots xvfb-run -a -s "$screen" bash tests/window/web_test.sh dist/web assets > /dev/null
# The page 300 steps after the test's order, at two thirds of its size.
convert "$shots/shot-walk300.png" -resize '816x512!' -strip docs/web.png

echo "Done: docs/pictures.png, docs/red-view.png, docs/screenshot.png, docs/web.png"
