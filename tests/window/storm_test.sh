#!/usr/bin/env bash
# Thirty seconds of random input through the X server: pointer moves on and off the window,
# clicks of every button with shift, ctrl and alt, drags, the help button, and the game's
# keys with and without modifiers. The game must still be running and drawing at the end:
# the screenshots taken along the way show a drawn battle that changes, and zoom keys pressed
# afterwards change the picture.
# Usage: bash storm_test.sh <dromlin binary> <assets folder> [seconds] [seed]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

binary=${1:?usage: storm_test.sh <dromlin binary> <assets folder> [seconds] [seed]}
assets=${2:?usage: storm_test.sh <dromlin binary> <assets folder> [seconds] [seed]}
seconds=${3:-30}
RANDOM=${4:-1208}

keys=(r plus minus equal underscore w a s d g h i e p grave R W x space Return Escape Tab)
buttons=(1 2 3 1 3 4 5)
modifier_sets=("" "" "" shift ctrl alt "shift ctrl" "ctrl alt" "shift alt" "shift ctrl alt")

# The window sits at (left, top) of the screen, so pointer positions in screen coordinates
# reach past all four of its edges. Starting an X client is slow, so each call of xdotool
# chains several events.
left=100
top=100
events_per_call=16

# Each helper appends xdotool commands for one random event to the array `chain`; no
# subshells, which would cost more than the events.
add_pointer_move() { chain+=(mousemove $((RANDOM % 1280)) $((RANDOM % 1024))); }
add_with_modifiers() {
    local held=(${modifier_sets[RANDOM % ${#modifier_sets[@]}]}) m
    for m in "${held[@]}"; do chain+=(keydown "$m"); done
    chain+=("$@")
    for m in "${held[@]}"; do chain+=(keyup "$m"); done
}
add_random_event() {
    case $((RANDOM % 7)) in
        0) add_pointer_move ;;
        1)
            add_pointer_move
            add_with_modifiers click "${buttons[RANDOM % ${#buttons[@]}]}"
            ;;
        2)
            add_pointer_move
            chain+=(mousedown 1)
            add_pointer_move
            add_pointer_move
            chain+=(mouseup 1)
            ;;
        3) chain+=(mousemove $((left + HELP_BUTTON_X)) $((top + HELP_BUTTON_Y)) click 1) ;;
        *) add_with_modifiers key --delay 0 "${keys[RANDOM % ${#keys[@]}]}" ;;
    esac
}

pixels_of() { "$CONVERT" "$1" -depth 8 rgb:- | md5sum | cut -d' ' -f1; }

require_display
start_game "$binary" "$assets"
wait_for_window "Dromlin_01" 30
timeout 5 xdotool windowmove --sync "$WINDOW_ID" "$left" "$top" 2> /dev/null
timeout 5 xdotool windowfocus "$WINDOW_ID" 2> /dev/null

events=0
shots=()
next_shot=$((SECONDS + seconds / 3))
end=$((SECONDS + seconds))
while [ $SECONDS -lt $end ]; do
    game_running || fail "the game ended after $events random events"
    chain=()
    for ((i = 0; i < events_per_call; i++)); do
        add_random_event
    done
    timeout 10 xdotool "${chain[@]}" 2> /dev/null
    events=$((events + events_per_call))
    if [ $SECONDS -ge $next_shot ]; then
        shot=$(work_file .png)
        screenshot "$WINDOW_ID" "$shot"
        shots+=("$shot")
        next_shot=$((SECONDS + seconds / 3))
    fi
done
timeout 5 xdotool keyup shift ctrl alt 2> /dev/null
game_running || fail "the game ended after $events random events"

# Along the way: every picture drawn, and the battle moved between them.
declare -A seen=()
for shot in "${shots[@]}"; do
    colours=$(colour_count "$shot")
    [ "${colours:-0}" -gt 1 ] || fail "a screenshot during the storm shows a single colour"
    seen[$(pixels_of "$shot")]=1
done
[ ${#shots[@]} -lt 2 ] || [ ${#seen[@]} -gt 1 ] ||
    fail "the ${#shots[@]} screenshots during the storm are all the same"

# Still drawing: a left click closes the help picture if the storm left it open, and then a
# change of zoom shows.
timeout 5 xdotool mousemove $((left + 500)) $((top + 700)) click 1 2> /dev/null
timeout 5 xdotool key --clearmodifiers plus plus plus 2> /dev/null
sleep 1
before=$(work_file .png)
screenshot "$WINDOW_ID" "$before"
timeout 5 xdotool key --clearmodifiers minus minus minus minus minus minus 2> /dev/null
sleep 1
after=$(work_file .png)
screenshot "$WINDOW_ID" "$after"
[ "$(pixels_of "$before")" != "$(pixels_of "$after")" ] ||
    fail "the picture did not change when zoomed out after the storm"
[ "$(colour_count "$after")" -gt 1 ] || fail "the window shows a single colour after the storm"
game_running || fail "the game ended after the storm"
pass "$events random input events in ${seconds} s; the game kept running and drawing"
