#!/usr/bin/env bash
# dromlin-versus in a real window against a bot through a dromlin-server on loopback: the room
# and its link while waiting, red's own view, an order given with the mouse carried out, the
# waiting line while the bot is stopped, and a lost server told on standard error within 10 s.
# Usage: bash versus_test.sh <dromlin-versus> <assets folder> <dromlin-server> <dromlin-sim>
# With DROMLIN_VERSUS_WRAPPER=wine the game is dromlin-versus.exe, started through it.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/battle_lib.sh"

usage="usage: $(basename "$0") <dromlin-versus> <assets folder> <dromlin-server> <dromlin-sim>"
binary=${1:?$usage}
assets=${2:?$usage}
server=$(readlink -f "${3:?$usage}")
sim=$(readlink -f "${4:?$usage}")
read_shipped_map "$assets"
plan_orders
require_display

SERVER_PID=""
BOT_PID=""
stop_others() {
    local pid
    for pid in $BOT_PID $SERVER_PID; do
        kill -CONT "$pid" 2> /dev/null
        kill "$pid" 2> /dev/null
        wait "$pid" 2> /dev/null
    done
}
trap 'stop_game; stop_others; remove_work_files' EXIT

# lines_shown FILE: true when white letters are written on the strip below the banner, where
# the battle has no white.
lines_shown() {
    local white
    white=$("$CONVERT" "$1" -crop 240x22+16+70 +repage -colorspace gray -threshold 85% \
        -format '%[fx:int(1000*mean)]' info:)
    [ "$white" -gt 20 ]
}

# wait_for_line FILE PATTERN SECONDS: true once a line of FILE matches.
wait_for_line() {
    local deadline=$((SECONDS + $3))
    until grep -q -E "$2" "$1" 2> /dev/null; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

server_out=$(work_file .out)
# Not under timeout, so that the server itself is the process killed below; the script ends it.
"$server" --listen 127.0.0.1:0 --map "$assets/map1.txt" --replays none \
    > "$server_out" 2>&1 &
SERVER_PID=$!
wait_for_line "$server_out" 'listening on' 10 || fail "the server did not start: $(cat "$server_out")"
port=$(sed -n 's|.*listening on http://127\.0\.0\.1:\([0-9]*\).*|\1|p' "$server_out")

# The game, as start_game starts it, with the server's address.
GAME_OUT=$(work_file .out)
GAME_ERR=$(work_file .err)
binary=$(readlink -f "$binary")
(cd "$assets" && exec ${DROMLIN_VERSUS_WRAPPER:-} "$binary" "127.0.0.1:$port") > "$GAME_OUT" 2> "$GAME_ERR" < /dev/null &
GAME_PID=$!
wait_for_window "Dromlin_01 - versus" 30
place_window

wait_for_line "$GAME_ERR" '^dromlin-versus: room [a-z0-9]+: share http://' 10 ||
    fail "no room and link on standard error"
room=$(sed -n 's/^dromlin-versus: room \([a-z0-9]*\): share .*/\1/p' "$GAME_ERR" | head -n 1)
# Windows ends its lines with a carriage return.
tr -d '\r' < "$GAME_ERR" | grep -q "share http://127.0.0.1:$port/versus.html#$room\$" ||
    fail "the link is not the server's page: $(grep '^dromlin-versus: room' "$GAME_ERR")"
settle 0.5
shot=$(work_file .png)
screenshot "$WINDOW_ID" "$shot"
lines_shown "$shot" || fail "no line about the room below the banner"
[ -n "${DROMLIN_VERSUS_SHOTS:-}" ] && cp "$shot" "$DROMLIN_VERSUS_SHOTS/waiting.png"
pass "room $room opened, its link on the screen and on standard error"

# Not under timeout, so that the bot itself is the process stopped below; the script ends it.
(cd "$WORK_DIR" && exec "$sim" --connect "127.0.0.1:$port" --room "$room" \
    --bot random --bot-seed 3 --steps 100000 --pace) > /dev/null 2> "$WORK_DIR/bot.err" &
BOT_PID=$!

# The battle starts: red's own view, and the order of a drag and a right click is carried out.
settle 2
kill -0 "$BOT_PID" 2> /dev/null || fail "the bot ended: $(head -n 3 "$WORK_DIR/bot.err")"
screenshot "$WINDOW_ID" "$shot"
[ -n "${DROMLIN_VERSUS_SHOTS:-}" ] && cp "$shot" "$DROMLIN_VERSUS_SHOTS/started.png" && cp "$WORK_DIR/bot.err" "$DROMLIN_VERSUS_SHOTS/"
[ "$(banner_kind "$shot")" = red ] || fail "the opener's view is not red's: $(banner_kind "$shot")"
lines_shown "$shot" && fail "the room's lines stay on the screen after the start"
drag_left $(($(tile_left $box_left) + 3)) $(($(tile_top $box_top) + 3)) \
    $(($(tile_left $box_right) + 22)) $(($(tile_top $box_bottom) + 22))
click_at 3 $(($(tile_left $goal_x) + 12)) $(($(tile_top $goal_y) + 12))
for key in r grave g h; do
    press_key "$key"
done
deadline=$((SECONDS + 30))
until reddish_near "$shot" "$goal_x" "$goal_y"; do
    [ $SECONDS -lt $deadline ] || fail "no red soldier reached ($goal_x, $goal_y) within 30 s"
    settle 1
    screenshot "$WINDOW_ID" "$shot"
done
[ "$(banner_kind "$shot")" = red ] || fail "r changed the view in versus: $(banner_kind "$shot")"
[ -n "${DROMLIN_VERSUS_SHOTS:-}" ] && cp "$shot" "$DROMLIN_VERSUS_SHOTS/playing.png"
pass "red's view only; the soldiers walked to ($goal_x, $goal_y) on a right click"

# A player that stops answering: the battle waits, and says so.
kill -STOP "$BOT_PID"
settle 1.5
screenshot "$WINDOW_ID" "$shot"
lines_shown "$shot" || fail "no waiting line while the other player is stopped"
[ -n "${DROMLIN_VERSUS_SHOTS:-}" ] && cp "$shot" "$DROMLIN_VERSUS_SHOTS/stalled.png"
pass "the waiting line shows while the other player is stopped"

# The server dies: the line comes within 10 s, once, and the window stays.
kill -KILL "$SERVER_PID"  # as a crash: no closing word
wait "$SERVER_PID" 2> /dev/null
SERVER_PID=""
end_lines() { grep '^dromlin-versus: ' "$GAME_ERR" | grep -v '^dromlin-versus: room '; }
deadline=$((SECONDS + 10))
until end_lines > /dev/null; do
    [ $SECONDS -lt $deadline ] || fail "no end line on standard error within 10 s of the server's end"
    sleep 0.2
done
settle 0.5
ends=$(end_lines)
[ "$(echo "$ends" | wc -l)" -eq 1 ] || fail "the end line came more than once: $ends"
game_running || fail "the window closed when the server went"
pass "lost server told on standard error: $ends"
