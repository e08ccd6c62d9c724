#!/usr/bin/env bash
# The help button opens the help picture over the battle; the next click, or Esc, closes it.
# Usage: bash help_test.sh <dromlin binary> <assets folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/battle_lib.sh"

take_game_arguments "$@"

open_game "$binary" "$assets"
settle 1

shot=$(work_file .png)
screenshot "$WINDOW_ID" "$shot"
help_shown "$shot" && fail "the help picture's frame is shown before the help button was clicked"

click_at 1 "$HELP_BUTTON_X" "$HELP_BUTTON_Y"
settle 0.5
screenshot "$WINDOW_ID" "$shot"
help_shown "$shot" || fail "no help picture after a click on the help button (frame colour $FRAME_COLOUR)"
[ "$(banner_kind "$shot")" = red ] || fail "the battle's banner is gone under the help picture"

# A click anywhere closes it, and the battle is drawn alone again.
click_at 1 500 700
settle 0.5
screenshot "$WINDOW_ID" "$shot"
help_shown "$shot" && fail "the help picture is still shown after a click"
[ "$(banner_kind "$shot")" = red ] || fail "the closing click changed the view: $(banner_kind "$shot")"

# Esc closes it too, as a click does.
click_at 1 "$HELP_BUTTON_X" "$HELP_BUTTON_Y"
settle 0.5
screenshot "$WINDOW_ID" "$shot"
help_shown "$shot" || fail "no help picture after the second click on the help button"
press_key Escape
settle 0.5
screenshot "$WINDOW_ID" "$shot"
help_shown "$shot" && fail "the help picture is still shown after Esc"

# The battle takes input again: the view key works.
press_key r
screenshot "$WINDOW_ID" "$shot"
[ "$(banner_kind "$shot")" = blue ] || fail "the battle takes no keys after the help picture closed"

game_running || fail "the game ended during the help round trip"
pass "help picture opened by its button and closed by the next click and by Esc; the battle goes on"
