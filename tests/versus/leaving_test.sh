#!/usr/bin/env bash
# Red is killed (SIGKILL) in mid-battle: blue plays on to its last step, the server hands red's
# team to its own soldiers, and the replay re-fights to blue's last line.
# Usage: bash leaving_test.sh DROMLIN_SIM DROMLIN_SERVER
set -uo pipefail
source "$(dirname "$0")/lib.sh"
sim=$(readlink -f "${1:?usage: leaving_test.sh DROMLIN_SIM DROMLIN_SERVER}")
server=$(readlink -f "${2:?usage: leaving_test.sh DROMLIN_SIM DROMLIN_SERVER}")
# Red is paced so that it is surely in mid-battle when it is killed; blue waits on it.
STEPS=1200

start_server "$server"
start_pair "$SERVER_PORT" "$sim" "$sim" --pace
wait_for_line "$WORK_DIR/red.trace" '"step": 300,' 30 || fail "red never reached step 300"
# A third is told the room is full, and a code no room has is refused; the battle goes on.
exit_refused=5
exit_room_full=6
(cd "$WORK_DIR" && timeout 20 "$sim" --connect "127.0.0.1:$SERVER_PORT" --room "$ROOM") \
    > /dev/null 2> "$WORK_DIR/third.err"
status=$?
[ $status = $exit_room_full ] || fail "a third bot in room $ROOM ended with $status"
grep -qx "room $ROOM is full" "$WORK_DIR/third.err" || fail "the third bot said: $(cat "$WORK_DIR/third.err")"
(cd "$WORK_DIR" && timeout 20 "$sim" --connect "127.0.0.1:$SERVER_PORT" --room 2222222222) \
    > /dev/null 2> "$WORK_DIR/stranger.err"
status=$?
[ $status = $exit_refused ] || fail "a bot with a room code no room has ended with $status"
pass "a third bot is told the room is full, and an unknown code is refused"

# The bot itself, not the timeout that runs it.
red_sim=$(pgrep -P "$RED_PID") || fail "no red bot under $RED_PID"
kill -9 "$red_sim"
wait_bot "$BLUE_PID"
[ "$BOT_STATUS" = 0 ] || fail "blue did not play on to step $STEPS (exit $BOT_STATUS)"
[ "$(wc -l < "$WORK_DIR/blue.trace")" -eq $((STEPS + 1)) ] || fail "blue's trace is short"
red_steps=$(wc -l < "$WORK_DIR/red.trace")
[ "$red_steps" -lt $((STEPS / 2)) ] || fail "red had fought $red_steps steps when killed"
pass "blue played on to step $STEPS after red was killed at step $red_steps or so"

replay=$(replay_of "$ROOM")
grep -q '"kind":11' "$replay" || fail "the replay hands red's team over nowhere"
tail -n 1 "$replay" | grep -q "^{\"end\":$STEPS," || fail "the replay ends with $(tail -n 1 "$replay")"
"$sim" --replay "$replay" --trace > "$WORK_DIR/replay.trace" 2> "$WORK_DIR/replay.err" ||
    fail "the replay does not re-fight: $(head -n 1 "$WORK_DIR/replay.err")"
cmp -s "$WORK_DIR/replay.trace" "$WORK_DIR/blue.trace" || fail "the replay's trace is not blue's"
pass "the replay hands red's team over and re-fights to blue's last line"
