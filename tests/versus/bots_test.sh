#!/usr/bin/env bash
# Two bots fight 3000 steps through the server: their traces are byte-identical, and
# dromlin-sim --replay of the server's replay prints the same trace. The bots step as fast as
# the lockstep lets them, with no clock; the wall time is printed.
# Usage: bash bots_test.sh DROMLIN_SIM DROMLIN_SERVER
set -uo pipefail
source "$(dirname "$0")/lib.sh"
sim=$(readlink -f "${1:?usage: bots_test.sh DROMLIN_SIM DROMLIN_SERVER}")
server=$(readlink -f "${2:?usage: bots_test.sh DROMLIN_SIM DROMLIN_SERVER}")

start_server "$server"
began=$(date +%s%N)
start_pair "$SERVER_PORT" "$sim" "$sim"
wait_bot "$RED_PID"
[ "$BOT_STATUS" = 0 ] || fail "red did not fight its $STEPS steps (exit $BOT_STATUS)"
wait_bot "$BLUE_PID"
[ "$BOT_STATUS" = 0 ] || fail "blue did not fight its $STEPS steps (exit $BOT_STATUS)"
echo "two bots fought $STEPS steps in $((($(date +%s%N) - began) / 1000000)) ms"
[ "$(wc -l < "$WORK_DIR/red.trace")" -eq $((STEPS + 1)) ] || fail "red's trace is not $STEPS steps and the end"
cmp -s "$WORK_DIR/red.trace" "$WORK_DIR/blue.trace" || fail "the bots' traces differ"
pass "both bots' traces are byte-identical, $STEPS steps"
[ "$(grep -c '"kind":[0-5],"giver"' "$(replay_of "$ROOM")")" -gt 50 ] ||
    fail "the bots gave few orders: a quiet battle proves little"
replay=$(replay_of "$ROOM")
"$sim" --replay "$replay" --trace > "$WORK_DIR/replay.trace" 2> "$WORK_DIR/replay.err" ||
    fail "the server's replay does not re-fight: $(head -n 1 "$WORK_DIR/replay.err")"
cmp -s "$WORK_DIR/red.trace" "$WORK_DIR/replay.trace" || fail "the replay's trace differs from the bots'"
pass "dromlin-sim --replay of the server's replay prints the same trace"
