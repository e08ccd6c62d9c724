#!/usr/bin/env bash
# 10,000 bad messages at the server (dromlin-netflood) while two bots fight beside them: every
# bad one is answered or closed, the bots' traces are byte-identical, and the replay of their
# room re-fights to the same trace.
# Usage: bash flood_test.sh DROMLIN_SIM DROMLIN_SERVER DROMLIN_NETFLOOD
set -uo pipefail
source "$(dirname "$0")/lib.sh"
usage="usage: flood_test.sh DROMLIN_SIM DROMLIN_SERVER DROMLIN_NETFLOOD"
sim=$(readlink -f "${1:?$usage}")
server=$(readlink -f "${2:?$usage}")
flood=$(readlink -f "${3:?$usage}")
# Paced, so that the battle lasts as long as the flood does (1800 steps are 28.8 s).
STEPS=1800

start_server "$server"
timeout 120 "$flood" "127.0.0.1:$SERVER_PORT" --messages 10000 --seconds 100 \
    > "$WORK_DIR/flood.out" 2> "$WORK_DIR/flood.err" &
flood_pid=$!
STARTED_PIDS+=($flood_pid)
start_pair "$SERVER_PORT" "$sim" "$sim" --pace
wait_bot "$RED_PID"
[ "$BOT_STATUS" = 0 ] || fail "red did not fight its $STEPS steps beside the flood (exit $BOT_STATUS)"
wait_bot "$BLUE_PID"
[ "$BOT_STATUS" = 0 ] || fail "blue did not fight its $STEPS steps beside the flood (exit $BOT_STATUS)"
flood_running=no
kill -0 "$flood_pid" 2> /dev/null && flood_running=yes
wait_bot "$flood_pid"
[ "$BOT_STATUS" = 0 ] || fail "the flood found the server wanting: $(tail -n 3 "$WORK_DIR/flood.out" "$WORK_DIR/flood.err")"
echo "flood: $(tail -n 1 "$WORK_DIR/flood.out") (still flooding when the bots ended: $flood_running)"
cmp -s "$WORK_DIR/red.trace" "$WORK_DIR/blue.trace" || fail "the bots' traces differ"
replay=$(replay_of "$ROOM")
"$sim" --replay "$replay" --trace > "$WORK_DIR/replay.trace" 2> "$WORK_DIR/replay.err" ||
    fail "the replay does not re-fight: $(head -n 1 "$WORK_DIR/replay.err")"
cmp -s "$WORK_DIR/red.trace" "$WORK_DIR/replay.trace" || fail "the replay's trace differs from the bots'"
pass "beside 10,000 bad messages the bots' battle is identical to its replay"
