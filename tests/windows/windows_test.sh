#!/usr/bin/env bash
# The Windows build under wine: dromlin-sim.exe replays every recorded trace byte for byte and
# re-fights every committed replay with each of its hashes holding,
# dromlin.exe draws the battle and its help picture in a window, and the installer installs,
# makes its shortcut and uninstalls without a trace. Needs an X display (xvfb-run).
# Usage: bash windows_test.sh <folder of the Windows build (build-windows)> <dist folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../window/battle_lib.sh"

build=$(readlink -f "${1:?usage: windows_test.sh <Windows build folder> <dist folder>}")
dist=$(readlink -f "${2:?usage: windows_test.sh <Windows build folder> <dist folder>}")
traces=$here/../identity/traces
# No Gecko or Mono prompts, and no menu entries of wine's own in the home folder.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# A wine prefix of our own under the build folder, never in the user's home.
use_prefix() {
    export WINEPREFIX=$build/wine/$1
    mkdir -p "$build/wine"
    # Without 32-bit wine the first start reports its missing 32-bit half; the prefix is made.
    # The registry reaches its files when the prefix's server ends.
    [ -f "$WINEPREFIX/system.reg" ] || { wineboot -i > /dev/null 2>&1; wineserver -w; }
    [ -f "$WINEPREFIX/system.reg" ] || fail "wineboot made no prefix for $1"
}
cleanup_wine() { [ -n "${WINEPREFIX:-}" ] && wineserver -k 2> /dev/null; cleanup; }
trap cleanup_wine EXIT

# The map of a recorded battle, from its name.
map_of() {
    case $1 in
        map1) echo "$build/game/windows/stage/dromlin-"*/map1.txt ;;
        *) echo "$here/../identity/maps/$1.txt" ;;
    esac
}

check_traces() {
    local sim=$build/game/dromlin-sim.exe trace name map seed view steps
    for trace in "$traces"/*.jsonl.gz; do
        name=$(basename "$trace" .jsonl.gz)
        IFS=- read -r map seed view steps <<< "$name"
        cmp -s <(gzip -dc "$trace") \
            <(wine "$sim" "$(winepath -w "$(map_of "$map")")" --trace --steps "${steps#steps}" \
                --seed "${seed#seed}" --view "${view#view}" 2> /dev/null) ||
            fail "dromlin-sim.exe under wine does not replay $name"
    done
    pass "dromlin-sim.exe replays every recorded trace byte for byte"
}

check_replays() {
    local sim=$build/game/dromlin-sim.exe replay
    for replay in "$here"/../identity/replays/*.jsonl; do
        wine "$sim" --replay "$(winepath -w "$replay")" > /dev/null 2>&1 ||
            fail "dromlin-sim.exe under wine does not re-fight $(basename "$replay")"
    done
    pass "dromlin-sim.exe re-fights every committed replay as recorded"
}

# start_exe EXE FOLDER: the Windows program under wine, started in FOLDER.
start_exe() {
    local launcher
    launcher=$(work_file .sh)
    printf '#!/bin/sh\nexec wine "%s"\n' "$1" > "$launcher"
    chmod +x "$launcher"
    start_game "$launcher" "$2"
}

check_window() {
    local exe=$1 folder=$2 shot
    start_exe "$exe" "$folder"
    show_window 60
    settle 2
    shot=$(work_file .png)
    screenshot "$WINDOW_ID" "$shot"
    [ "$(banner_kind "$shot")" = red ] || fail "no red banner from $exe: $(banner_kind "$shot")"
    [ "$(colour_count "$shot")" -gt 50 ] || fail "no battle drawn by $exe"
    cp "$shot" "$build/wine/last-window.png"
}

# HELP opens the help picture, and a click closes it.
check_help() {
    local shot
    shot=$(work_file .png)
    click_at 1 "$HELP_BUTTON_X" "$HELP_BUTTON_Y"
    settle 1
    screenshot "$WINDOW_ID" "$shot"
    help_shown "$shot" || fail "no help picture after a click on the help button ($FRAME_COLOUR)"
    cp "$shot" "$build/wine/help.png"
    click_at 1 500 700
    settle 1
    screenshot "$WINDOW_ID" "$shot"
    help_shown "$shot" && fail "the help picture stays after a click"
    pass "dromlin.exe shows the red banner and the battle; HELP opens the help picture, a click closes it"
}

# The working folder a shortcut (.lnk) names: its string data after the item list and the link
# information, each present by its flag.
shortcut_folder() {
    python3 - "$1" << 'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 0x14)[0]
at = 0x4C
if flags & 0x01:
    at += 2 + struct.unpack_from("<H", data, at)[0]
if flags & 0x02:
    at += struct.unpack_from("<I", data, at)[0]
unicode = flags & 0x80
for bit in (0x04, 0x08, 0x10):
    if flags & bit:
        count = struct.unpack_from("<H", data, at)[0]
        size = count * (2 if unicode else 1)
        text = data[at + 2:at + 2 + size].decode("utf-16-le" if unicode else "latin-1")
        at += 2 + size
        if bit == 0x10:
            print(text.rstrip("\0"))
PY
}

check_installer() {
    rm -rf "$build/wine/install"
    use_prefix install
    local setup game shortcut folder
    setup=$(ls "$dist"/dromlin-*-setup.exe) || fail "no installer in $dist"
    wine "$setup" /S || fail "the silent install failed"
    wineserver -w
    game="$WINEPREFIX/drive_c/Program Files/Dromlin"
    [ -f "$game/dromlin.exe" ] && [ -f "$game/map1.txt" ] || fail "the installer left no game in $game"
    shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Dromlin.lnk"
    [ -f "$shortcut" ] || fail "no Start-menu shortcut"
    folder=$(shortcut_folder "$shortcut")
    [ "$folder" = 'C:\Program Files\Dromlin' ] || fail "the shortcut works in \"$folder\""
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dromlin' /v Publisher \
        > /dev/null 2>&1 || fail "no uninstaller registered"
    check_window "$game/dromlin.exe" "$(winepath -u "$folder")"
    stop_game
    wineserver -k
    pass "silent install, shortcut working in $folder, installed game draws its window"

    wine "$game/uninstall.exe" /S || fail "the uninstaller failed"
    wineserver -w
    [ ! -e "$game" ] || fail "the uninstaller left $(find "$game" | head -n 3)"
    [ ! -e "$shortcut" ] || fail "the uninstaller left the shortcut"
    ! grep -qi dromlin "$WINEPREFIX"/*.reg || fail "the uninstaller left keys: $(grep -i dromlin "$WINEPREFIX"/*.reg | head -n 3)"
    pass "the uninstaller leaves no file and no registry key"
}

# dromlin-versus.exe against a bot on Linux through the Linux server, by the window test of
# dromlin-versus: it needs the normal build's dromlin-server and dromlin-sim.
check_versus() {
    local linux
    linux=$(readlink -f "$here/../../build")
    [ -x "$linux/dromlin-server" ] && [ -x "$linux/dromlin-sim" ] ||
        fail "no dromlin-server and dromlin-sim in $linux: make the normal build first"
    DROMLIN_VERSUS_WRAPPER=wine bash "$here/../window/versus_test.sh" \
        "$stage/dromlin-versus.exe" "$stage" "$linux/dromlin-server" "$linux/dromlin-sim" ||
        fail "dromlin-versus.exe against a bot on Linux"
}

require_display
use_prefix game
check_traces
check_replays
stage=$(echo "$build/game/windows/stage/dromlin-"*/)
stage=${stage%/}
check_window "$stage/dromlin.exe" "$stage"
# The exe's icon on the title bar and the task bar: wine hands the window's icon to X.
xprop -id "$WINDOW_ID" _NET_WM_ICON | grep -q 'Icon (32 x 32)' ||
    fail "the window of dromlin.exe has no 32 x 32 icon"
check_help
stop_game
# Started from a console in another folder, the game reads its files from its own.
elsewhere=$(work_file .folder)
rm -f "$elsewhere" && mkdir "$elsewhere"
check_window "$stage/dromlin.exe" "$elsewhere"
stop_game
[ ! -s "$GAME_OUT" ] || fail "started in another folder dromlin.exe printed: $(head -n 3 "$GAME_OUT")"
pass "dromlin.exe has its icon and, started in another folder, reads its files from its own"
wineserver -k
check_versus
wineserver -k
check_installer
