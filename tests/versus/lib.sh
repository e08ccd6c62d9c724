# What the versus tests share: a dromlin-server on a free loopback port, bots of dromlin-sim
# that play through it, and the replays it keeps. Every wait is bounded, and everything started
# here is stopped when the script exits, however it exits. Sourcing it sources
# tests/support/lib.sh too.

source "$(dirname "${BASH_SOURCE[0]}")/../support/lib.sh"

STARTED_PIDS=()
SERVER_PORT=""
REPLAYS=$WORK_DIR/replays
# The battles' length, and what a bot is given at most to fight it.
STEPS=3000
BOT_SECONDS=90

stop_started() {
    local pid
    for pid in "${STARTED_PIDS[@]}"; do
        kill "$pid" 2> /dev/null
    done
    for pid in "${STARTED_PIDS[@]}"; do
        wait "$pid" 2> /dev/null
    done
    STARTED_PIDS=()
}

cleanup() {
    stop_started
    remove_work_files
}
trap cleanup EXIT

# What the bots said on their standard error, after a failure's line.
fail_details() {
    local file
    for file in "$WORK_DIR"/*.err; do
        [ -s "$file" ] || continue
        echo "--- $(basename "$file"):" >&2
        head -n 10 "$file" >&2
    done
}

# wait_for_line FILE PATTERN SECONDS: true once a line of FILE matches.
wait_for_line() {
    local tries=0
    while ! grep -q -E "$2" "$1" 2> /dev/null; do
        [ $tries -lt $(($3 * 10)) ] || return 1
        sleep 0.1
        tries=$((tries + 1))
    done
}

# start_server SERVER [ARGS...]: the server on a free port of 127.0.0.1, keeping its replays in
# $REPLAYS; sets SERVER_PORT.
start_server() {
    local server=$1 out
    shift
    [ -x "$server" ] || fail "no server at $server"
    out=$WORK_DIR/server.out
    timeout 300 "$server" --listen 127.0.0.1:0 --replays "$REPLAYS" "$@" > "$out" \
        2> "$WORK_DIR/server.err" &
    STARTED_PIDS+=($!)
    wait_for_line "$out" 'listening on' 10 || fail "the server did not start"
    SERVER_PORT=$(sed -n 's|.*listening on http://127\.0\.0\.1:\([0-9]*\).*|\1|p' "$out")
    [ -n "$SERVER_PORT" ] || fail "no port in: $(cat "$out")"
}

# start_bot NAME PORT COMMAND...: a bot in the background, its trace in $WORK_DIR/NAME.trace
# and its standard error in NAME.err, started in $WORK_DIR; its process is BOT_PID.
BOT_PID=""
start_bot() {
    local name=$1 port=$2
    shift 2
    (cd "$WORK_DIR" && exec timeout "$BOT_SECONDS" "$@" --connect "127.0.0.1:$port" --bot random \
        --steps "$STEPS" --trace) > "$WORK_DIR/$name.trace" 2> "$WORK_DIR/$name.err" < /dev/null &
    BOT_PID=$!
    STARTED_PIDS+=($BOT_PID)
}

# room_of NAME: the room a bot opened, from the first line of its standard error.
room_of() {
    wait_for_line "$WORK_DIR/$1.err" '^room ' 30 || fail "$1 opened no room"
    local line
    # Windows ends its lines of standard error with CR LF.
    line=$(head -n 1 "$WORK_DIR/$1.err" | tr -d "\r")
    [[ $line =~ ^room\ ([a-z0-9]+)$ ]] || fail "the first line $1 wrote is not 'room CODE': $line"
    echo "${BASH_REMATCH[1]}"
}

# start_pair PORT RED_SIM BLUE_SIM [RED_ARGS...]: red opens a room, blue joins it; their
# processes are RED_PID and BLUE_PID, the room ROOM.
start_pair() {
    local port=$1 red_sim=$2 blue_sim=$3
    shift 3
    start_bot red "$port" "$red_sim" --bot-seed 11 "$@"
    RED_PID=$BOT_PID
    ROOM=$(room_of red) || exit 1
    start_bot blue "$port" "$blue_sim" --bot-seed 22 --room "$ROOM"
    BLUE_PID=$BOT_PID
}

# wait_bot PID: waits for the bot to end and sets BOT_STATUS to its exit status (in this shell:
# a subshell cannot wait for it).
BOT_STATUS=""
wait_bot() {
    BOT_STATUS=0
    wait "$1" || BOT_STATUS=$?
}

# replay_of ROOM: the replay the server keeps of the room, once its end line is written.
replay_of() {
    local file tries=0
    while :; do
        file=$(ls "$REPLAYS"/*-"$1".jsonl 2> /dev/null | head -n 1)
        [ -n "$file" ] && tail -n 1 "$file" | grep -q '"end"' && break
        [ $tries -lt 100 ] || fail "no finished replay of room $1 in $REPLAYS"
        sleep 0.1
        tries=$((tries + 1))
    done
    echo "$file"
}
