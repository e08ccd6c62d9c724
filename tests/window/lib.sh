# Helpers shared by the window tests: start the game in a folder, find its window, look at
# it, stop it. Source it from a test script; every wait is bounded, and the game is stopped
# when the script exits, however it exits. Sourcing it sources tests/support/lib.sh too.

source "$(dirname "${BASH_SOURCE[0]}")/../support/lib.sh"

GAME_PID=""
GAME_OUT=""
GAME_ERR=""
WINDOW_ID=""

# After a failure's line, the first lines of what the game said on its standard error.
fail_details() {
    if [ -n "$GAME_ERR" ] && [ -s "$GAME_ERR" ]; then
        echo "--- the game's standard error:" >&2
        head -n 20 "$GAME_ERR" >&2
    fi
}

cleanup() {
    stop_game
    remove_work_files
}
trap cleanup EXIT

require_display() {
    [ -n "${DISPLAY:-}" ] || fail "no X display: run the window tests under xvfb-run"
    local tool
    for tool in xdotool xwininfo import "$CONVERT"; do
        command -v "$tool" > /dev/null || fail "the window tests need $tool"
    done
}

# start_game BINARY FOLDER: runs the game with FOLDER as its working directory; its standard
# output is collected in $GAME_OUT and its standard error in $GAME_ERR.
start_game() {
    local binary=$1 folder=$2
    [ -x "$binary" ] || fail "no game binary at $binary"
    [ -d "$folder" ] || fail "no folder $folder to start the game in"
    binary=$(readlink -f "$binary")
    GAME_OUT=$(work_file .out)
    GAME_ERR=$(work_file .err)
    (cd "$folder" && exec "$binary") > "$GAME_OUT" 2> "$GAME_ERR" < /dev/null &
    GAME_PID=$!
}

game_running() { [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2> /dev/null; }

# Ends the game started by start_game (and only it), waiting at most five seconds.
stop_game() {
    [ -n "$GAME_PID" ] || return 0
    if game_running; then
        kill "$GAME_PID" 2> /dev/null
        local tries=0
        while game_running && [ $tries -lt 50 ]; do
            sleep 0.1
            tries=$((tries + 1))
        done
        game_running && kill -9 "$GAME_PID" 2> /dev/null
    fi
    wait "$GAME_PID" 2> /dev/null
    GAME_PID=""
}

# wait_for_window TITLE [SECONDS]: sets WINDOW_ID to the game's visible window of that exact
# title. Gives up early when the game has ended.
wait_for_window() {
    local title=$1 seconds=${2:-20}
    local deadline=$((SECONDS + seconds))
    WINDOW_ID=""
    while [ -z "$WINDOW_ID" ]; do
        game_running || fail "the game ended before a window titled \"$title\" appeared"
        [ $SECONDS -lt $deadline ] || fail "no window titled \"$title\" appeared within ${seconds} s"
        WINDOW_ID=$(timeout 5 xdotool search --onlyvisible --name "^${title}\$" 2> /dev/null |
            head -n 1)
        [ -n "$WINDOW_ID" ] || sleep 0.2
    done
}

# window_size ID: prints "WIDTH HEIGHT" of the window's drawing area.
window_size() {
    xwininfo -id "$1" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w, h }'
}

# The tests speak of the game's 1024 x 768 screen. With DROMLIN_WINDOW_SIZE (WIDTHxHEIGHT) the
# window is resized when placed; the picture then sits in the box below, letterboxed as the
# game fits it, and pointer positions and screenshots are converted between the two.
BOX_LEFT=0
BOX_TOP=0
BOX_WIDTH=1024
BOX_HEIGHT=768

# fit_box WIDTH HEIGHT: the largest 4:3 box centred in a window of that size.
fit_box() {
    if [ $(($1 * 768)) -le $(($2 * 1024)) ]; then
        BOX_WIDTH=$1
        BOX_HEIGHT=$((($1 * 768 + 512) / 1024))
    else
        BOX_HEIGHT=$2
        BOX_WIDTH=$((($2 * 1024 + 384) / 768))
    fi
    BOX_LEFT=$((($1 - BOX_WIDTH) / 2))
    BOX_TOP=$((($2 - BOX_HEIGHT) / 2))
}

# window_x X / window_y Y: the window pixel that shows a screen pixel's centre.
window_x() { echo $((BOX_LEFT + (2 * $1 + 1) * BOX_WIDTH / 2048)); }
window_y() { echo $((BOX_TOP + (2 * $1 + 1) * BOX_HEIGHT / 1536)); }

# screenshot ID FILE: the game's screen as a 1024 x 768 PNG.
screenshot() {
    timeout 20 import -window "$1" "$2" 2> /dev/null || fail "could not take a screenshot of window $1"
    if [ "$BOX_WIDTH" != 1024 ] || [ "$BOX_HEIGHT" != 768 ] || [ "$BOX_LEFT$BOX_TOP" != 00 ]; then
        "$CONVERT" "$2" -crop "${BOX_WIDTH}x${BOX_HEIGHT}+${BOX_LEFT}+${BOX_TOP}" +repage \
            -resize '1024x768!' "$2" || fail "could not scale the screenshot of window $1"
    fi
}

# pixel_colour FILE X Y: prints "R,G,B" (0 to 255) of one pixel of a picture.
pixel_colour() {
    "$CONVERT" "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# colour_count FILE: the number of different colours in a picture.
colour_count() { "$CONVERT" "$1" -format '%k' info:; }

# settle SECONDS: lets the game run its frames for a while.
settle() { sleep "$1"; }
