#!/usr/bin/env bash
# Starts the game from its pictures folder: a window titled "Dromlin_01" of 1024 x 768 opens
# and shows the battle with the class its desktop entry names and the game's icon, the game
# keeps running, and a complete start-up prints nothing.
# Usage: bash startup_test.sh <dromlin binary> <assets folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

binary=${1:?usage: startup_test.sh <dromlin binary> <assets folder>}
assets=${2:?usage: startup_test.sh <dromlin binary> <assets folder>}

require_display
start_game "$binary" "$assets"
wait_for_window "Dromlin_01" 30

size=$(window_size "$WINDOW_ID")
[ "$size" = "1024 768" ] || fail "the window is $size, not 1024 768"

# A dock groups the window with the menu entry's icon only by the class the entry names.
entry_class=$(sed -n 's/^StartupWMClass=//p' "$here/../../packaging/org.dromlin.dromlin.desktop")
window_class=$(xprop -id "$WINDOW_ID" WM_CLASS)
[ -n "$entry_class" ] && [[ "$window_class" == *"\"$entry_class\""* ]] ||
    fail "the window's class ($window_class) is not the desktop entry's \"$entry_class\""

# The title bar and the task bar show the game's icon, not the window manager's blank one.
icon=$(xprop -id "$WINDOW_ID" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
[[ "$icon" == *"Icon (32 x 32)"* ]] || fail "the window has no 32 x 32 icon in _NET_WM_ICON: ${icon:-none}"

settle 2
game_running || fail "the game ended on its own after opening its window"

shot=$(work_file .png)
screenshot "$WINDOW_ID" "$shot"
# A frame that was cleared, drawn and swapped: a never-drawn or only cleared window is one
# colour.
colours=$(colour_count "$shot")
[ "${colours:-0}" -gt 1 ] || fail "the window shows a single colour ($(pixel_colour "$shot" 512 384)): nothing was drawn"

game_running || fail "the game ended on its own while the test looked at it"
stop_game

[ ! -s "$GAME_OUT" ] || fail "the game printed on standard output: $(head -n 5 "$GAME_OUT")"

pass "window \"Dromlin_01\" of 1024 x 768, class $entry_class, icon, drawn, running, silent"
