#!/usr/bin/env bash
# Red nudges one of its soldiers after step 600: the server tells both bots within a turn, each
# names the file of its own state at that step, and the replay ends there saying why. Re-fought,
# the replay is blue's battle, which nothing nudged.
# Usage: bash out_of_sync_test.sh DROMLIN_SIM DROMLIN_SERVER
set -uo pipefail
source "$(dirname "$0")/lib.sh"
sim=$(readlink -f "${1:?usage: out_of_sync_test.sh DROMLIN_SIM DROMLIN_SERVER}")
server=$(readlink -f "${2:?usage: out_of_sync_test.sh DROMLIN_SIM DROMLIN_SERVER}")
nudged=600
exit_out_of_sync=7

start_server "$server"
start_pair "$SERVER_PORT" "$sim" "$sim" --nudge-step "$nudged"
for team in red blue; do
    pid=$([ $team = red ] && echo "$RED_PID" || echo "$BLUE_PID")
    wait_bot "$pid"
    [ "$BOT_STATUS" = $exit_out_of_sync ] || fail "$team ended with $BOT_STATUS, not $exit_out_of_sync"
    line=$(grep 'out of sync' "$WORK_DIR/$team.err")
    [[ $line =~ ^out\ of\ sync\ at\ step\ $nudged\;\ this\ side\'s\ state\ is\ in\ (.+)$ ]] ||
        fail "$team said: $line"
    state=$WORK_DIR/${BASH_REMATCH[1]}
    [ "$(cat "$state")" = "$(sed -n "${nudged}p" "$WORK_DIR/$team.trace")" ] ||
        fail "$team's state file is not its state line of step $nudged"
    last=$(wc -l < "$WORK_DIR/$team.trace")
    [ "$last" -le $((nudged + 6)) ] || fail "$team stepped on to step $last"
done
pass "both bots were told within a turn of step $nudged and kept their state lines"
cmp -s "$WORK_DIR"/dromlin-out-of-sync-*-red-step$nudged.json \
    "$WORK_DIR"/dromlin-out-of-sync-*-blue-step$nudged.json && fail "the two sides' states are the same"

replay=$(replay_of "$ROOM")
tail -n 1 "$replay" | grep -q "^{\"end\":$nudged,\"reason\":\"out of sync at step $nudged: red [0-9a-f]\{16\}, blue [0-9a-f]\{16\}\"}$" ||
    fail "the replay's end line is $(tail -n 1 "$replay")"
"$sim" --replay "$replay" --trace > "$WORK_DIR/replay.trace" 2> "$WORK_DIR/replay.err" ||
    fail "the replay does not re-fight: $(head -n 1 "$WORK_DIR/replay.err")"
cmp -s <(sed -n "${nudged}p" "$WORK_DIR/replay.trace") <(sed -n "${nudged}p" "$WORK_DIR/blue.trace") ||
    fail "the replay's step $nudged is not blue's"
pass "the replay ends at step $nudged saying so, and re-fights to blue's battle"
