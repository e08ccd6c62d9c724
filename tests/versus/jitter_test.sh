#!/usr/bin/env bash
# Two bots fight through a proxy that holds every chunk of bytes, each way, for 0 to 150 ms at
# random: their traces are still byte-identical and the replay re-fights to the same, and the
# time from a bot's order to its carrying out stays within 3 turns (3 x 96 ms) and the delay
# the proxy adds on the order's way: 150 ms up to the server, and 150 ms back with the turn.
# Usage: bash jitter_test.sh DROMLIN_SIM DROMLIN_SERVER JITTER_PROXY
set -uo pipefail
source "$(dirname "$0")/lib.sh"
usage="usage: jitter_test.sh DROMLIN_SIM DROMLIN_SERVER JITTER_PROXY"
sim=$(readlink -f "${1:?$usage}")
server=$(readlink -f "${2:?$usage}")
proxy=$(readlink -f "${3:?$usage}")
most_delay_ms=150
# A paced battle (a step per tick, as a player's) is as long as it is: 1200 steps are 19.2 s.
STEPS=${VERSUS_JITTER_STEPS:-1200}

start_server "$server"
python3 "$proxy" --to "127.0.0.1:$SERVER_PORT" --most-delay-ms "$most_delay_ms" --seconds 120 \
    > "$WORK_DIR/proxy.out" 2> "$WORK_DIR/proxy.err" &
STARTED_PIDS+=($!)
wait_for_line "$WORK_DIR/proxy.out" 'listening on' 10 || fail "the proxy did not start"
proxy_port=$(sed -n 's|.*listening on 127\.0\.0\.1:\([0-9]*\).*|\1|p' "$WORK_DIR/proxy.out")

began=$(date +%s%N)
start_pair "$proxy_port" "$sim" "$sim" --pace --delay-report
wait_bot "$RED_PID"
[ "$BOT_STATUS" = 0 ] || fail "red did not fight its $STEPS steps (exit $BOT_STATUS)"
wait_bot "$BLUE_PID"
[ "$BOT_STATUS" = 0 ] || fail "blue did not fight its $STEPS steps (exit $BOT_STATUS)"
echo "two paced bots fought $STEPS steps through the proxy in $((($(date +%s%N) - began) / 1000000)) ms"
cmp -s "$WORK_DIR/red.trace" "$WORK_DIR/blue.trace" || fail "the bots' traces differ"
replay=$(replay_of "$ROOM")
"$sim" --replay "$replay" --trace > "$WORK_DIR/replay.trace" 2> "$WORK_DIR/replay.err" ||
    fail "the server's replay does not re-fight: $(head -n 1 "$WORK_DIR/replay.err")"
cmp -s "$WORK_DIR/red.trace" "$WORK_DIR/replay.trace" || fail "the replay's trace differs from the bots'"
pass "through the jittery proxy both traces and the replay's are byte-identical"

# "order-to-action delay: N orders, mean M ms, most X ms"
bound=$((3 * 96 + 2 * most_delay_ms))
line=$(grep 'order-to-action delay' "$WORK_DIR/red.err")
echo "red's $line"
[[ $line =~ :\ ([0-9]+)\ orders.*most\ ([0-9]+)\. ]] || fail "no delay report from red: $line"
[ "${BASH_REMATCH[1]}" -gt 10 ] || fail "red gave too few orders to measure: $line"
[ "${BASH_REMATCH[2]}" -le "$bound" ] || fail "an order waited more than $bound ms: $line"
pass "red's orders were carried out within $bound ms"
