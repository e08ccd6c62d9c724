#!/usr/bin/env bash
# The versus page against a native bot through dromlin-server on a loopback port: the page,
# served by the server, opens a room and shows its code and link; a bot (dromlin-sim
# --connect) joins it; the page, driven by puppeteer, orders red soldiers by a drag and a right
# click and shows red's view, which r, ` and g leave as it is, and the help picture does not
# pause the battle; at a fixed step the page's state line is the bot's, byte for
# byte; the bot leaves there and the page plays on alone; the server's replay holds the page's
# order and re-fights to the bot's trace. A full room, an unknown room, a malformed code, a
# battle out of sync (its state line on the console), a killed server and a stopped one each
# end the page with its line.
# With dromlin-versus named, the other player is the desktop's window in the X server instead,
# driven by xdotool: it joins, orders blue soldiers and shows blue's view, the server checks both
# battles' hashes every turn, and the window is closed after the step compared.
# Needs the page built (tools/web.sh) and the driver's packages (npm ci in tests/window/web).
# Usage: bash versus_web_test.sh <page folder, dist/web> <dromlin-server> <dromlin-sim> <assets>
#            [dromlin-versus]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/battle_lib.sh"

usage="usage: versus_web_test.sh <page folder> <dromlin-server> <dromlin-sim> <assets folder>"
site=${1:?$usage}
server_binary=${2:?$usage}
sim=$(readlink -f "${3:?$usage}")
assets=${4:?$usage}
desktop=${5:+$(readlink -f "$5")}

bars=100
# The step the two battles are compared at, a turn's last; the bot stops there.
compared_step=1200
# The step after which a bot of another room nudges a soldier, and the battle goes out of sync.
nudged_step=120

for file in versus.html page.js dromlin.js dromlin.wasm dromlin.data; do
    [ -f "$site/$file" ] || fail "no $file in $site: build the page with tools/web.sh"
done
[ -d "$here/web/node_modules/puppeteer-core" ] ||
    fail "the driver's packages are missing: run npm ci in $here/web"
command -v node > /dev/null || fail "the versus page's test needs node"
[ -x "${CHROMIUM:-/usr/bin/chromium}" ] || fail "the versus page's test needs Chromium"
read_shipped_map "$assets"
plan_orders
if [ -n "$desktop" ]; then
    require_display
    # Blue's order: a box around its first soldier, to open floor three to eight tiles left.
    read -r blue_x blue_y < <(tiles_with b | head -n 1)
    blue_goal_x=""
    for ((dx = 3; dx <= 8; dx++)); do
        [ "$(map_cell $((blue_x - dx)) "$blue_y")" = . ] && blue_goal_x=$((blue_x - dx)) && break
    done
    [ -n "$blue_goal_x" ] || fail "no open floor left of the blue soldier at ($blue_x $blue_y)"
fi

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
replays=$WORK_DIR/replays
out=${DROMLIN_WEB_SHOTS:-$WORK_DIR/out}
mkdir -p "$replays" "$out" || fail "cannot make the folders $replays and $out"
rm -f "$out"/room.txt "$out"/link.txt "$out"/sync-room.txt "$out"/stop-server.txt "$out"/kill-second.txt
"$server_binary" --listen "127.0.0.1:$port" --web "$site" --replays "$replays" \
    > "$WORK_DIR/server.log" 2>&1 &
server=$!
# A second server, killed under a page to show the line of a lost server.
second_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$server_binary" --listen "127.0.0.1:$second_port" --web "$site" --replays none \
    > "$WORK_DIR/second.log" 2>&1 &
second=$!
driver=""
bot=""
nudger=""
stop_all() {
    stop_game
    for pid in $bot $nudger $driver $server $second; do
        kill "$pid" 2> /dev/null
        wait "$pid" 2> /dev/null
    done
    cleanup
}
trap stop_all EXIT
for at in $port $second_port; do
    deadline=$((SECONDS + 10))
    until python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$at/versus.html')" 2> /dev/null; do
        [ $SECONDS -lt $deadline ] || fail "dromlin-server did not serve the page on port $at: $(cat "$WORK_DIR/server.log")"
        sleep 0.2
    done
done

node "$here/web/versus.mjs" "http://127.0.0.1:$port/versus.html" \
    "http://127.0.0.1:$second_port/versus.html" "$out" "$bars" "$compared_step" \
    $(($(tile_left $box_left) + 3)) $(($(tile_top $box_top) + 3)) \
    $(($(tile_left $box_right) + 22)) $(($(tile_top $box_bottom) + 22)) \
    $(($(tile_left $goal_x) + 12)) $(($(tile_top $goal_y) + 12)) \
    "$HELP_BUTTON_X" "$HELP_BUTTON_Y" > "$out/driver.log" 2>&1 &
driver=$!

deadline=$((SECONDS + 40))
until [ -s "$out/room.txt" ]; do
    kill -0 "$driver" 2> /dev/null || fail "the page showed no room: $(cat "$out/driver.log")"
    [ $SECONDS -lt $deadline ] || fail "the page showed no room within 40 s"
    sleep 0.2
done
room_line=$(cat "$out/room.txt")
[[ $room_line =~ ^Room\ ([a-z0-9]{10}):\ share\ (http://127\.0\.0\.1:$port/versus\.html#([a-z0-9]{10}))$ ]] ||
    fail "the page's room line is not \"Room CODE: share LINK\": $room_line"
code=${BASH_REMATCH[1]}
[ "${BASH_REMATCH[3]}" = "$code" ] || fail "the link names another room: $room_line"
[ "$(cat "$out/link.txt")" = "${BASH_REMATCH[2]}" ] || fail "the line's link is not a link to ${BASH_REMATCH[2]}"

if [ -z "$desktop" ]; then
    timeout 120 "$sim" --connect "127.0.0.1:$port" --room "$code" --bot random --bot-seed 5 \
        --steps "$compared_step" --trace > "$WORK_DIR/bot.trace" 2> "$WORK_DIR/bot.err" &
    bot=$!
else
    GAME_OUT=$WORK_DIR/desktop.out
    GAME_ERR=$WORK_DIR/desktop.err
    (cd "$assets" && exec "$desktop" "127.0.0.1:$port" "$code") \
        > "$GAME_OUT" 2> "$GAME_ERR" < /dev/null &
    GAME_PID=$!
    wait_for_window "Dromlin_01 - versus" 30
    place_window
    settle 1
    drag_left $(($(tile_left $((blue_x - 1))) + 3)) $(($(tile_top $((blue_y - 1))) + 3)) \
        $(($(tile_left $((blue_x + 1))) + 22)) $(($(tile_top $((blue_y + 1))) + 22))
    click_at 3 $(($(tile_left $blue_goal_x) + 12)) $(($(tile_top $blue_y) + 12))
    settle 2
    screenshot "$WINDOW_ID" "$out/desktop-blue.png"
    [ "$(banner_kind "$out/desktop-blue.png")" = blue ] ||
        fail "dromlin-versus does not show blue's view: $(banner_kind "$out/desktop-blue.png")"
fi
# The driver asks for the servers to go away at the end, to see the page lose them.
deadline=$((SECONDS + 170))
while kill -0 "$driver" 2> /dev/null && [ $SECONDS -lt $deadline ]; do
    # The window leaves a second and a half (90 steps) after the page passed the step compared:
    # the server has checked both battles' hashes past it by then.
    if [ -n "$GAME_PID" ] && [ -s "$out/state.txt" ]; then
        sleep 1.5
        game_running || fail "dromlin-versus ended in mid-battle: $(cat "$GAME_ERR")"
        stop_game
    fi
    if [ -z "$nudger" ] && [ -s "$out/sync-room.txt" ]; then
        sync_code=$(sed -n 's/^Room \([a-z0-9]*\): .*/\1/p' "$out/sync-room.txt")
        # In the work folder: it writes its state of the step out of sync there.
        (cd "$WORK_DIR" && exec timeout 60 "$sim" --connect "127.0.0.1:$port" --room "$sync_code" \
            --bot random --steps 3000 --nudge-step "$nudged_step") > /dev/null 2> "$WORK_DIR/nudger.err" &
        nudger=$!
    fi
    if [ -n "$second" ] && [ -f "$out/kill-second.txt" ]; then
        kill -KILL "$second"
        wait "$second" 2> /dev/null
        second=""
    fi
    if [ -n "$server" ] && [ -f "$out/stop-server.txt" ]; then
        kill "$server"
        wait "$server" 2> /dev/null
        server=""
    fi
    sleep 0.2
done
wait "$driver"
driver_status=$?
driver=""
[ $driver_status -eq 0 ] || fail "the driver could not play the page through: $(cat "$out/driver.log")"
if [ -z "$desktop" ]; then
    wait "$bot"
    bot_status=$?
    bot=""
    [ $bot_status -eq 0 ] || fail "the bot ended with status $bot_status: $(cat "$WORK_DIR/bot.err")"
    # The same battle on both sides, to the bit, at the step compared.
    sed -n "${compared_step}p" "$WORK_DIR/bot.trace" > "$WORK_DIR/bot-line.txt"
    [ -s "$WORK_DIR/bot-line.txt" ] || fail "the bot's trace has no line for step $compared_step"
    cmp -s "$WORK_DIR/bot-line.txt" "$out/state.txt" ||
        fail "the page's battle at step $compared_step is not the bot's: $(cut -c1-200 "$out/state.txt")"
else
    grep -q "out of sync" "$GAME_ERR" && fail "dromlin-versus was out of sync: $(cat "$GAME_ERR")"
fi
{ read -r after; read -r shown; } < "$out/after.txt"
[ "${shown:-}" = "The other player left: their soldiers fight on their own" ] ||
    fail "the page did not say that the bot left: \"${shown:-}\""
[ "$after" -ge 300 ] || fail "the page did not play on after the bot left: $after steps"

mapfile -t ends < "$out/ends.txt"
expected=("room $code is full" "there is no room 2222222222" '"no-such-room" is not a room code'
          "out of sync at step $nudged_step" "the connection to the server was lost"
          "the server stopped")
for i in 0 1 2 3 4 5; do
    [ "${ends[$i]:-}" = "${expected[$i]}" ] ||
        fail "the page's end line is \"${ends[$i]:-}\", not \"${expected[$i]}\""
done

report=$(head -n 1 "$out/sync-console.txt")
[[ $report == "Dromlin out of sync at step $nudged_step: this page's state of that step: {\"step\": $nudged_step,"* ]] ||
    fail "the console did not get the page's state of step $nudged_step: ${report:0:200}"

# Red's view, with its own soldiers, and the order walked them off their start tiles.
shot=$out/shot-start.png
"$CONVERT" "$shot" -crop "1024x768+${bars}+0" +repage "$WORK_DIR/start-screen.png"
[ "$(banner_kind "$WORK_DIR/start-screen.png")" = red ] ||
    fail "the page does not show red's view: $(banner_kind "$WORK_DIR/start-screen.png")"
for tile in "${selected[@]}"; do
    read -r r g b < <(tile_colour "$WORK_DIR/start-screen.png" $tile)
    is_reddish "$r" "$g" "$b" || fail "no red soldier drawn on its start tile ($tile): $r $g $b"
done
walked=""
for after in 300 600; do
    "$CONVERT" "$out/shot-walk$after.png" -crop "1024x768+${bars}+0" +repage "$WORK_DIR/walk.png"
    [ "$(banner_kind "$WORK_DIR/walk.png")" = red ] || fail "the view is not red's $after steps on"
    left=0
    for tile in "${selected[@]}"; do
        read -r r g b < <(tile_colour "$WORK_DIR/walk.png" $tile)
        is_reddish "$r" "$g" "$b" || left=$((left + 1))
    done
    [ $left -eq ${#selected[@]} ] && walked=$after && break
done
[ -n "$walked" ] || fail "the ${#selected[@]} selected soldiers did not all leave their tiles within 600 steps"
"$CONVERT" "$out/shot-help.png" -crop "1024x768+${bars}+0" +repage "$WORK_DIR/help.png"
help_shown "$WORK_DIR/help.png" || fail "no help picture after a click on the help button ($FRAME_COLOUR)"
read -r help_steps < "$out/help.txt"
[ "$help_steps" -ge 30 ] || fail "the battle took $help_steps steps in a second under the help picture"

# The server kept the battle: the page's order for red, and the bot's battle again.
deadline=$((SECONDS + 15))
until replay=$(ls "$replays"/*.jsonl 2> /dev/null | head -1) && [ -n "$replay" ] &&
    tail -1 "$replay" | grep -q '"end"'; do
    [ $SECONDS -lt $deadline ] || fail "the server wrote no finished replay in $replays"
    sleep 0.2
done
ordered_by() {  # ordered_by GIVER X Y: the replay holds an order of that giver to tile (X, Y)
    grep -q -E "\"giver\":$1,[^}]*\"tile\":\\[$2,$3\\]|\"tile\":\\[$2,$3\\][^}]*\"giver\":$1" "$replay"
}
ordered_by 1 "$goal_x" "$goal_y" || fail "the replay holds no order by red to ($goal_x $goal_y)"
if [ -n "$desktop" ]; then
    ordered_by 2 "$blue_goal_x" "$blue_y" ||
        fail "the replay holds no order by blue to ($blue_goal_x $blue_y)"
fi
tail -n 1 "$replay" | grep -q "out of sync" && fail "the battle went out of sync: $(tail -n 1 "$replay")"
"$sim" --replay "$replay" --trace 2> "$WORK_DIR/replay.err" | head -n "$compared_step" > "$WORK_DIR/replay.trace"
sed -n "${compared_step}p" "$WORK_DIR/replay.trace" | cmp -s - "$out/state.txt" ||
    fail "the server's replay does not re-fight the page's battle: $(head -c 300 "$WORK_DIR/replay.err")"
if [ -z "$desktop" ]; then
    cmp -s <(head -n "$compared_step" "$WORK_DIR/bot.trace") "$WORK_DIR/replay.trace" ||
        fail "the server's replay does not re-fight the bot's battle"
fi

other=${desktop:+dromlin-versus}
pass "the versus page played room $code against ${other:-a bot}: the same battle at step $compared_step, red's view, the order walked within $walked steps, $help_steps steps a second under the help picture, the page played on alone, the replay re-fights it; six end lines, the state out of sync on the console"
