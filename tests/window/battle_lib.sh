# Helpers for the window tests that play the battle: real input through the X server (XTEST,
# as a player's mouse and keyboard), colours of screen regions, and where map tiles appear.
# Sourcing it sources lib.sh too.

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# Without a window manager GLUT leaves the window at (-1, -1), so a screenshot would lose
# its first row and column and every pixel would sit one off. Puts it at the screen's corner.
place_window() {
    timeout 5 xdotool windowmove --sync "$WINDOW_ID" 0 0 2> /dev/null ||
        timeout 5 xdotool windowmove "$WINDOW_ID" 0 0 2> /dev/null
    local deadline=$((SECONDS + 5)) x y
    while :; do
        read -r x y < <(xwininfo -id "$WINDOW_ID" |
            awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print x, y }')
        [ "$x" = 0 ] && [ "$y" = 0 ] && break
        [ $SECONDS -lt $deadline ] || fail "could not move the game's window to the screen's corner (it is at $x, $y)"
        sleep 0.2
    done
    [ -n "${DROMLIN_WINDOW_SIZE:-}" ] && resize_window "${DROMLIN_WINDOW_SIZE%x*}" "${DROMLIN_WINDOW_SIZE#*x}"
    return 0
}

# resize_window WIDTH HEIGHT: as a tiling window manager or a player would.
resize_window() {
    timeout 5 xdotool windowsize --sync "$WINDOW_ID" "$1" "$2" 2> /dev/null ||
        timeout 5 xdotool windowsize "$WINDOW_ID" "$1" "$2" 2> /dev/null
    local deadline=$((SECONDS + 5))
    until [ "$(window_size "$WINDOW_ID")" = "$1 $2" ]; do
        [ $SECONDS -lt $deadline ] || fail "could not resize the game's window to $1 x $2"
        sleep 0.2
    done
    fit_box "$1" "$2"
    sleep 0.5
}

# The pointer and keys go to the game's window; without a window manager it must be given
# the input focus explicitly.
focus_game() {
    timeout 5 xdotool windowfocus --sync "$WINDOW_ID" 2> /dev/null ||
        timeout 5 xdotool windowfocus "$WINDOW_ID" 2> /dev/null ||
        fail "could not give the game's window the input focus"
}

# press_key KEY: one key press and release, as xdotool names keys ("r", "grave", "plus").
press_key() {
    focus_game
    timeout 5 xdotool key --clearmodifiers "$1" || fail "xdotool could not press $1"
    sleep 0.3
}

# move_pointer X Y: the pointer to a pixel of the game's screen.
move_pointer() {
    local x y
    x=$(window_x "$1")
    y=$(window_y "$2")
    timeout 5 xdotool mousemove --window "$WINDOW_ID" --sync "$x" "$y" 2> /dev/null ||
        timeout 5 xdotool mousemove --window "$WINDOW_ID" "$x" "$y" ||
        fail "xdotool could not move the pointer to $1, $2"
    sleep 0.1
}

# click_at BUTTON X Y: press and release of a button (1 left, 3 right) at one pixel.
click_at() {
    move_pointer "$2" "$3"
    timeout 5 xdotool mousedown "$1" || fail "xdotool could not press button $1"
    sleep 0.1
    timeout 5 xdotool mouseup "$1" || fail "xdotool could not release button $1"
    sleep 0.3
}

# drag_left X1 Y1 X2 Y2: a left-button drag through a few points, so the game sees motion.
drag_left() {
    move_pointer "$1" "$2"
    timeout 5 xdotool mousedown 1 || fail "xdotool could not press the left button"
    local step
    for step in 1 2 3 4; do
        move_pointer $(($1 + ($3 - $1) * step / 4)) $(($2 + ($4 - $2) * step / 4))
    done
    timeout 5 xdotool mouseup 1 || fail "xdotool could not release the left button"
    sleep 0.3
}

# banner_kind FILE: "red", "blue", "all" or "unknown", from the coloured line along the
# banner's lower edge (red, blue or gold).
banner_kind() {
    local r g b
    read -r r g b < <(region_colour "$1" 400 1 450 61)
    if is_gold "$r" "$g" "$b"; then
        echo all
    elif [ "$r" -gt 180 ] && [ "$g" -lt 130 ] && [ "$b" -lt 130 ]; then
        echo red
    elif [ "$b" -gt 180 ] && [ "$r" -lt 150 ]; then
        echo blue
    else
        echo "unknown ($r $g $b)"
    fi
}

# is_reddish R G B: true where a red soldier is drawn.
is_reddish() { [ "$1" -gt $(($2 + 40)) ] && [ "$1" -gt $(($3 + 40)) ]; }

# is_black R G B: true when every channel is nearly 0.
is_black() { [ "$1" -lt 12 ] && [ "$2" -lt 12 ] && [ "$3" -lt 12 ]; }

# Where the map's tiles appear at the starting zoom of 0.2 (25.6 pixels a tile), with the
# camera on the map's centre tile: set by read_map.
MAP_COLUMNS=0
MAP_ROWS=0
MAP_CELLS=""
VIEW_OFFSET_X=0
VIEW_OFFSET_Y=0

# read_map FILE: the map's size and cells (one string, row by row) and the screen offsets.
read_map() {
    read -r MAP_COLUMNS MAP_ROWS < <(tr -s ' \t\r\n' ' ' < "$1" | awk '{ print $1, $2 }')
    MAP_CELLS=$(awk 'BEGIN { RS = "[ \t\r\n]+" } NR > 2 { printf "%s", $0 }' "$1")
    VIEW_OFFSET_X=$(awk -v c="$MAP_COLUMNS" 'BEGIN { v = 512 - int(c / 2) * 25.6; print (v < 0 ? -int(-v) : int(v)) }')
    VIEW_OFFSET_Y=$(awk -v r="$MAP_ROWS" 'BEGIN { v = 384 - int(r / 2) * 25.6; print (v < 0 ? -int(-v) : int(v)) }')
}

# map_cell X Y: the map's character for a tile.
map_cell() { echo "${MAP_CELLS:$(($2 * MAP_COLUMNS + $1)):1}"; }

# tiles_with CHAR: prints "X Y" for every tile holding that character, in reading order.
tiles_with() {
    local x y
    for ((y = 0; y < MAP_ROWS; y++)); do
        for ((x = 0; x < MAP_COLUMNS; x++)); do
            [ "$(map_cell $x $y)" = "$1" ] && echo "$x $y"
        done
    done
}

# tile_left X / tile_top Y: the screen pixel of a tile's top-left corner at zoom 0.2.
tile_left() { awk -v o="$VIEW_OFFSET_X" -v t="$1" 'BEGIN { print int(o + 25.6 * t) }'; }
tile_top() { awk -v o="$VIEW_OFFSET_Y" -v t="$1" 'BEGIN { print int(o + 25.6 * t) }'; }

# tile_colour FILE X Y: the mean colour of the middle of a tile on screen.
tile_colour() {
    region_colour "$1" 12 12 $(($(tile_left "$2") + 7)) $(($(tile_top "$3") + 7))
}

# reddish_near FILE X Y: true when a red soldier shows on a tile within one tile of (X, Y). The
# destination itself may carry the destination flag over a soldier.
reddish_near() {
    local file=$1 dx dy r g b
    shift
    for dy in -1 0 1; do
        for dx in -1 0 1; do
            read -r r g b < <(tile_colour "$file" $(($1 + dx)) $(($2 + dy)))
            is_reddish "$r" "$g" "$b" && return 0
        done
    done
    return 1
}

# plan_orders: after read_map, the orders a player would give. Sets box_left, box_top,
# box_right, box_bottom (tiles of a box around the most crowded red soldiers), selected (the
# red tiles in it), goal_x and goal_y (open floor to send them to, six tiles or more away).
plan_orders() {
    # The box: 5 x 5 tiles around the red soldier with the most red team-mates within two tiles.
    reds=()
    while read -r x y; do reds+=("$x $y"); done < <(tiles_with r)
    [ ${#reds[@]} -gt 0 ] || fail "the map has no red soldier"
    most=0
    for anchor in "${reds[@]}"; do
        read -r ax ay <<< "$anchor"
        count=0
        for tile in "${reds[@]}"; do
            read -r x y <<< "$tile"
            [ $((x - ax)) -ge -2 ] && [ $((x - ax)) -le 2 ] && [ $((y - ay)) -ge -2 ] &&
                [ $((y - ay)) -le 2 ] && count=$((count + 1))
        done
        [ $count -gt $most ] && most=$count && first_x=$ax && first_y=$ay
    done
    box_left=$((first_x - 2 < 0 ? 0 : first_x - 2))
    box_top=$((first_y - 2 < 0 ? 0 : first_y - 2))
    box_right=$((first_x + 2 >= MAP_COLUMNS ? MAP_COLUMNS - 1 : first_x + 2))
    box_bottom=$((first_y + 2 >= MAP_ROWS ? MAP_ROWS - 1 : first_y + 2))
    selected=()
    for tile in "${reds[@]}"; do
        read -r x y <<< "$tile"
        [ "$x" -ge $box_left ] && [ "$x" -le $box_right ] && [ "$y" -ge $box_top ] &&
            [ "$y" -le $box_bottom ] && selected+=("$tile")
    done

    # The destination: open floor at least six tiles from every start tile, nearest to the
    # box's middle soldier, with its neighbours open too so that the walkers gather around it.
    open_around() {
        local dx dy c
        for dy in -1 0 1; do
            for dx in -1 0 1; do
                c=$(map_cell $(($1 + dx)) $(($2 + dy)))
                [ "$c" = . ] || return 1
            done
        done
    }
    goal=""
    best=1000000
    for ((y = 1; y < MAP_ROWS - 1; y++)); do
        for ((x = 1; x < MAP_COLUMNS - 1; x++)); do
            d=$(((x - first_x) * (x - first_x) + (y - first_y) * (y - first_y)))
            [ $d -ge 36 ] && [ $d -lt $best ] || continue
            open_around $x $y || continue
            far=1
            for tile in "${selected[@]}"; do
                read -r sx sy <<< "$tile"
                [ $(((x - sx) * (x - sx) + (y - sy) * (y - sy))) -ge 36 ] || far=0
            done
            [ $far -eq 1 ] && goal="$x $y" && best=$d
        done
    done
    [ -n "$goal" ] || fail "the map has no open floor to send the soldiers to"
    read -r goal_x goal_y <<< "$goal"
}

# floor_seams FILE: after read_map and fit_box, on a window screenshot of the all-teams view at
# the starting zoom, compares the columns and rows of window pixels that touch a tile edge with
# those inside the tiles, over the map's plain floor (the median over the floor of each column
# or row, so that soldiers and markers do not count). Prints "darkest edge, darkest inside" of
# the columns, then of the rows.
floor_seams() {
    "$CONVERT" "$1" -colorspace gray -depth 8 pgm:- | python3 -c '
import sys
cells, columns, rows = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
offset_x, offset_y = int(sys.argv[4]), int(sys.argv[5])
left, top, width, height = map(int, sys.argv[6:10])
data = sys.stdin.buffer.read()
fields = data.split(maxsplit=4)
image_width, image_height, pixels = int(fields[1]), int(fields[2]), fields[4]
def edges(offset, count, start, scale):
    # Window positions of the tile edges: screen corners are truncated, then scaled.
    return [start + int(offset + 25.6 * i) * scale for i in range(count + 1)]
ex = edges(offset_x, columns, left, width / 1024)
ey = edges(offset_y, rows, top, height / 768)
def tile_of(p, e):
    for i in range(len(e) - 1):
        if e[i] <= p + 0.5 < e[i + 1]:
            return i, min(p + 0.5 - e[i], e[i + 1] - p - 0.5)
    return None, 0
tx = [tile_of(x, ex) for x in range(image_width)]
ty = [tile_of(y, ey) for y in range(image_height)]
def floor(x, y):
    return tx[x][0] is not None and ty[y][0] is not None and cells[ty[y][0] * columns + tx[x][0]] == "."
def median(values):
    values = sorted(values)
    return values[len(values) // 2] if values else None
def judge(lines, across, at):
    edge, inside = [], []
    for line in lines:
        m = median([v for v in across(line)])
        if m is None:
            continue
        distance = at[line][1]
        (edge if distance < 1 else inside if distance >= 2 else []).append(m)
    return min(edge), min(inside)
cols = judge(range(image_width), lambda x: [pixels[y * image_width + x] for y in range(image_height) if floor(x, y) and ty[y][1] >= 2], tx)
rws = judge(range(image_height), lambda y: [pixels[y * image_width + x] for x in range(image_width) if floor(x, y) and tx[x][1] >= 2], ty)
print(*cols, *rws)
' "$MAP_CELLS" "$MAP_COLUMNS" "$MAP_ROWS" "$VIEW_OFFSET_X" "$VIEW_OFFSET_Y" \
        "$BOX_LEFT" "$BOX_TOP" "$BOX_WIDTH" "$BOX_HEIGHT"
}

# check_seams FILE WHAT: fails when floor_seams finds an edge column or row darker than the
# inside ones. The floor picture's own last columns make the edge 3 levels darker than the
# darkest inside column at the screen's own size, hence the margin; a seam is 10 or more.
check_seams() {
    local edge_columns inside_columns edge_rows inside_rows
    read -r edge_columns inside_columns edge_rows inside_rows < <(floor_seams "$1")
    [ -n "$inside_rows" ] || fail "no plain floor found in $2"
    [ "$edge_columns" -ge $((inside_columns - 4)) ] ||
        fail "seams down the tile columns of $2: edge columns $edge_columns, inside $inside_columns"
    [ "$edge_rows" -ge $((inside_rows - 4)) ] ||
        fail "seams along the tile rows of $2: edge rows $edge_rows, inside $inside_rows"
    pass "no seams in $2: darkest edge and inside columns $edge_columns $inside_columns, rows $edge_rows $inside_rows"
}

# take_game_arguments "$@": a window test's two arguments, the game's binary and its assets
# folder, into $binary and $assets, and the map the game plays from there; without them the
# test stops with its usage line.
take_game_arguments() {
    local usage="usage: $(basename "$0") <dromlin binary> <assets folder>"
    binary=${1:?$usage}
    assets=${2:?$usage}
    read_shipped_map "$assets"
}

# read_shipped_map FOLDER: the map the game plays, from its assets folder (see read_map).
read_shipped_map() {
    [ -f "$1/map1.txt" ] || fail "no map1.txt in $1"
    read_map "$1/map1.txt"
}

# show_window [SECONDS]: waits up to SECONDS (30) for the game's window and puts it at the
# screen's corner.
show_window() {
    wait_for_window "Dromlin_01" "${1:-30}"
    place_window
}

# open_game BINARY FOLDER: starts the game in a display the tests can drive and shows its
# window.
open_game() {
    require_display
    start_game "$1" "$2"
    show_window
}
