#!/usr/bin/env bash
# Across platforms: a bot of the Windows build (dromlin-sim.exe under wine) opens a room on the
# Linux server and a Linux bot joins it; after 3000 steps both print the same trace, the same
# last line, and the server's replay re-fights to it.
# Usage: bash versus_test.sh <Windows build folder (build-windows)> <Linux build folder (build)>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../versus/lib.sh"
usage="usage: versus_test.sh <Windows build folder> <Linux build folder>"
windows=$(readlink -f "${1:?$usage}")
linux=$(readlink -f "${2:?$usage}")
exe=$windows/game/dromlin-sim.exe
[ -f "$exe" ] || fail "no $exe"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The Windows tests' own prefix under the build folder, never in the user's home.
export WINEPREFIX=$windows/wine/game
mkdir -p "$windows/wine"
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i > /dev/null 2>&1; wineserver -w; }
[ -f "$WINEPREFIX/system.reg" ] || fail "wineboot made no prefix"
stop_wine() { stop_started; wineserver -k 2> /dev/null; remove_work_files; }
trap stop_wine EXIT

start_server "$linux/dromlin-server"
start_bot red "$SERVER_PORT" wine "$exe" --bot-seed 11
RED_PID=$BOT_PID
ROOM=$(room_of red) || exit 1
start_bot blue "$SERVER_PORT" "$linux/dromlin-sim" --bot-seed 22 --room "$ROOM"
BLUE_PID=$BOT_PID
wait_bot "$RED_PID"
[ "$BOT_STATUS" = 0 ] || fail "dromlin-sim.exe did not fight its $STEPS steps (exit $BOT_STATUS)"
wait_bot "$BLUE_PID"
[ "$BOT_STATUS" = 0 ] || fail "the Linux bot did not fight its $STEPS steps (exit $BOT_STATUS)"
[ "$(tail -n 1 "$WORK_DIR/red.trace")" = "$(tail -n 1 "$WORK_DIR/blue.trace")" ] ||
    fail "the Windows bot's last line differs from the Linux bot's"
cmp -s "$WORK_DIR/red.trace" "$WORK_DIR/blue.trace" || fail "the two bots' traces differ"
"$linux/dromlin-sim" --replay "$(replay_of "$ROOM")" > "$WORK_DIR/replay.last" 2> /dev/null ||
    fail "the server's replay does not re-fight"
[ "$(cat "$WORK_DIR/replay.last")" = "$(tail -n 1 "$WORK_DIR/blue.trace")" ] ||
    fail "the replay's last line is not the bots'"
pass "dromlin-sim.exe under wine and a Linux bot fight the same $STEPS steps, to the same last line"
