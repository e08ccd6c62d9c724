# What every test script shares: failing and passing, checks that count and carry on, work
# files removed when the script ends, and what the scripts know of the game's screen: the
# help button's click point and the help picture's gold frame. Source it from a script; it
# needs bash and, for the colours, ImageMagick.

# Made here, in the script's own shell: work_file runs inside $( ), whose additions to a list
# of files would be lost with the subshell, so the files live in this folder instead.
WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/dromlin-test-XXXXXX")

remove_work_files() { rm -rf "$WORK_DIR"; }
trap remove_work_files EXIT

# work_file [SUFFIX]: a temporary file that goes when the script ends.
work_file() {
    mktemp "$WORK_DIR/XXXXXX${1:-}"
}

# What a failure shows besides its line; a library that knows more (the game's standard error)
# defines it again.
fail_details() { :; }

fail() {
    echo "FAIL: $*" >&2
    fail_details
    exit 1
}

pass() { echo "PASS: $*"; }

# check DESCRIPTION COMMAND...: runs the command quietly and says whether it passed; the script
# goes on, and check_summary ends it.
CHECKS=0
CHECK_FAILURES=0
check() {
    local description=$1
    shift
    CHECKS=$((CHECKS + 1))
    if "$@" > /dev/null 2>&1; then
        echo "PASS: $description"
    else
        echo "FAIL: $description" >&2
        CHECK_FAILURES=$((CHECK_FAILURES + 1))
    fi
}

# check_summary NAME: the count of checks passed and failed; true when none failed.
check_summary() {
    echo "$1: $((CHECKS - CHECK_FAILURES)) passed, $CHECK_FAILURES failed"
    [ "$CHECK_FAILURES" -eq 0 ]
}

# The real ImageMagick, where a wrapper of the same name stands in front of it.
if [ -x /usr/bin/convert ]; then CONVERT=/usr/bin/convert; else CONVERT=convert; fi

# region_colour FILE W H X Y: prints "R G B", the mean colour (0 to 255) of a rectangle.
region_colour() {
    "$CONVERT" "$1" -crop "${2}x${3}+${4}+${5}" +repage -resize '1x1!' \
        -format '%[fx:int(255*p{0,0}.r+0.5)] %[fx:int(255*p{0,0}.g+0.5)] %[fx:int(255*p{0,0}.b+0.5)]' info:
}

# is_gold R G B: the gold of the help picture's frame and of the all-teams banner's line.
is_gold() { [ "$1" -gt 180 ] && [ "$2" -gt 140 ] && [ "$3" -lt 130 ]; }

# The middle of the help button, which the play state draws 75 x 50 at (924, 5)
# (play/HelpButton.h), in pixels of the game's 1024 x 768 screen.
HELP_BUTTON_X=961
HELP_BUTTON_Y=30

# help_shown FILE: true when a screenshot of the 1024 x 768 screen shows the help picture. The
# picture (800 x 446 at (112, 161)) has a gold frame; column 113 runs down its left side, with a
# dark panel inside. Sets FRAME_COLOUR to what lies there, "R G B", for a failure's message.
FRAME_COLOUR=""
help_shown() {
    local r g b
    read -r r g b < <(region_colour "$1" 1 60 113 300)
    FRAME_COLOUR="$r $g $b"
    is_gold "$r" "$g" "$b"
}
