# End-to-end test library: runs the real program on a private Xvfb display and
# drives it with xdotool. Source it from a bash test script:
#
#   source "$(dirname "$0")/lib.sh"
#   e2e_begin "$@"                 # $1: the program; starts Xvfb, sets DISPLAY,
#                                  # a private registry and a work directory
#   e2e_run /s                     # starts the program in the work directory
#   e2e_wait_window "Glide demo"   # waits until the show's window is mapped
#   e2e_move 151 100               # moves the pointer (screen pixels)
#   e2e_expect_exit 0              # waits for the program and checks its code
#   e2e_pass
#
# Everything is cleaned up on exit (trap): the program, Xvfb, temporary files.
# The display is 1024 x 768 unless E2E_SCREEN says otherwise (-noreset: the pointer stays where it was put while
# no client is connected); without a window manager keyboard focus follows the
# pointer, so e2e_key_in_window moves the pointer over a window before typing.
#
# Functions:
#   e2e_begin PROGRAM        start the display; E2E_PROGRAM, E2E_DATA (slv.dat
#                            beside the program), E2E_WORK (a temp dir holding a
#                            "scrnshot" folder), XDG_CONFIG_HOME (a temp dir)
#   e2e_registry NAME=VALUE...  writes the saver's registry values, VALUE as the
#                            registry file takes it (50 or dword:00000032)
#   e2e_run ARGS...          starts the program in E2E_WORK; E2E_PID
#   e2e_run_in DIR ARGS...   the same with another working directory
#   e2e_copy_program DIR [--with-data]  copies the program (and slv.dat) to DIR
#   e2e_wait_window TITLE [SECONDS]  waits (30 s) for a mapped window titled TITLE;
#                            E2E_WINDOW = its id (fails if the program ends first)
#   e2e_find_window TITLE    prints such a window's id now; status 1 if none
#   e2e_window_centre ID     E2E_X, E2E_Y = the window's centre on the screen
#   e2e_move X Y             moves the pointer to a screen position
#   e2e_move_by DX DY        moves the pointer by an offset (the options screen
#                            re-centres the pointer after every move)
#   e2e_button_down [BUTTON] / e2e_button_up [BUTTON]  press or release a button
#   e2e_key KEY...           presses keys (xdotool names: Escape, Return, F12, a)
#   e2e_key_in_window TITLE KEY...  points at the window titled TITLE, then keys
#   e2e_click [BUTTON]       clicks a mouse button (1 left, 3 right; default 1)
#   e2e_expect_running SECONDS  fails if the program ends within SECONDS
#   e2e_expect_exit CODE [SECONDS]  fails unless the program ends (30 s) with CODE
#   e2e_tmpdir               prints a new temporary directory (removed at exit)
#   e2e_capture WINDOW FILE  saves what a window (or "root") shows as a PNG
#   e2e_brightness FILE [GEOMETRY]  prints the mean brightness, 0 to 1000, of
#                            the picture or of its part WxH+X+Y
#   e2e_pixels_changed A B   prints how many pixels two pictures differ in
#   e2e_log MESSAGE          prints a progress line to stderr
#   e2e_fail MESSAGE         prints the program's output and exits 1
#   e2e_pass                 exits 0
# Tests are skipped (exit 77) when Xvfb or xdotool is missing.

set -u

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_SCREEN=${E2E_SCREEN:-1024x768x24} # Xvfb's screen; set before e2e_begin to change
E2E_PID=""
E2E_XVFB_PID=""
E2E_ROOT=""
E2E_OUT=""

e2e_log() { echo "e2e: $*" >&2; }

e2e_cleanup() {
    if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
        kill "$E2E_PID" 2>/dev/null
        sleep 0.2
        kill -9 "$E2E_PID" 2>/dev/null
    fi
    if [ -n "$E2E_XVFB_PID" ] && kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    if [ -n "$E2E_ROOT" ]; then
        rm -rf "$E2E_ROOT"
    fi
}

# Every temporary directory lives under E2E_ROOT, which the cleanup removes, so
# this also works inside $(...).
e2e_tmpdir() {
    mktemp -d "$E2E_ROOT/tmp.XXXXXX" || e2e_fail "cannot make a temporary directory"
}

e2e_fail() {
    echo "e2e: FAIL: $*" >&2
    if [ -n "$E2E_OUT" ] && [ -s "$E2E_OUT" ]; then
        echo "e2e: program output:" >&2
        sed 's/^/    /' "$E2E_OUT" >&2
    fi
    exit 1
}

e2e_pass() {
    e2e_log "PASS"
    exit 0
}

e2e_begin() {
    trap e2e_cleanup EXIT
    trap 'exit 1' INT TERM
    E2E_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/solvane-e2e.XXXXXX") || e2e_fail "cannot make a temporary directory"
    E2E_PROGRAM=$(readlink -f "${1:?program path}")
    [ -x "$E2E_PROGRAM" ] || e2e_fail "no program at $1"
    E2E_DATA="$(dirname "$E2E_PROGRAM")/slv.dat"
    if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null || ! command -v xdpyinfo >/dev/null; then
        e2e_log "SKIP: Xvfb, xdotool or xdpyinfo missing"
        exit 77
    fi

    # Xvfb chooses a free display itself and writes its number once it accepts
    # connections, so tests running side by side never share a display.
    local numberFile i n=""
    numberFile="$(e2e_tmpdir)/display"
    Xvfb -displayfd 3 -screen 0 "$E2E_SCREEN" -nolisten tcp -noreset 3>"$numberFile" >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    for i in $(seq 1 200); do
        n=$(tr -dc '0-9' <"$numberFile")
        if [ -n "$n" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
            break
        fi
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || e2e_fail "Xvfb did not start"
        n=""
        sleep 0.1
    done
    [ -n "$n" ] || e2e_fail "Xvfb did not answer within 20 s"
    export DISPLAY=":$n"
    e2e_log "display $DISPLAY"

    # A private registry and working directory for each test.
    export XDG_CONFIG_HOME
    XDG_CONFIG_HOME=$(e2e_tmpdir)
    E2E_WORK=$(e2e_tmpdir)
    mkdir -p "$E2E_WORK/scrnshot"
    E2E_OUT=$(e2e_tmpdir)/program.out
    unset SDL_VIDEODRIVER
    # A sanitizer build must not fail on what the system libraries keep until exit.
    export LSAN_OPTIONS="suppressions=$E2E_LIB_DIR/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    # Put the pointer somewhere known before anything starts.
    xdotool mousemove 100 100
}

e2e_registry() {
    local file="$XDG_CONFIG_HOME/solvane/registry.ini"
    mkdir -p "$(dirname "$file")"
    {
        echo '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Screen Savers]'
        local pair
        for pair in "$@"; do
            echo "\"${pair%%=*}\"=${pair#*=}"
        done
    } >"$file"
}

e2e_copy_program() {
    local dir=$1
    cp "$E2E_PROGRAM" "$dir/" || e2e_fail "cannot copy the program"
    if [ "${2:-}" = "--with-data" ]; then
        cp "$E2E_DATA" "$dir/" || e2e_fail "cannot copy slv.dat"
    fi
}

e2e_run_in() {
    local dir=$1 program=$E2E_PROGRAM
    shift
    if [ -x "$dir/$(basename "$E2E_PROGRAM")" ]; then
        program="$dir/$(basename "$E2E_PROGRAM")"
    fi
    (cd "$dir" && exec "$program" "$@") >"$E2E_OUT" 2>&1 &
    E2E_PID=$!
    e2e_log "started $program $* (pid $E2E_PID)"
}

e2e_run() { e2e_run_in "$E2E_WORK" "$@"; }

# Prints the id of a mapped window titled exactly TITLE, if there is one. Reads
# the window tree rather than asking xdotool, which cannot read the titles of
# SDL's message boxes.
e2e_find_window() {
    local title=$1 id
    for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\":" | awk '{print $1}'); do
        if xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable"; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

e2e_wait_window() {
    local title=$1 seconds=${2:-30} waited=0
    E2E_WINDOW=""
    while ! E2E_WINDOW=$(e2e_find_window "$title"); do
        [ "$waited" -lt "$((seconds * 10))" ] || e2e_fail "no window \"$title\" within $seconds s"
        if [ -n "$E2E_PID" ] && ! kill -0 "$E2E_PID" 2>/dev/null; then
            e2e_fail "the program ended before a window \"$title\" appeared"
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
}

e2e_window_centre() {
    local info x y w h
    info=$(xwininfo -id "$1" 2>/dev/null) || e2e_fail "no window $1"
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    w=$(awk '/Width:/ {print $2}' <<<"$info")
    h=$(awk '/Height:/ {print $2}' <<<"$info")
    E2E_X=$((x + w / 2))
    E2E_Y=$((y + h / 2))
}

e2e_capture() {
    import -window "$1" "$2" 2>/dev/null || e2e_fail "cannot capture window $1"
}

e2e_brightness() {
    local crop=()
    [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
    convert "$1" "${crop[@]}" -colorspace Gray -format '%[fx:int(mean*1000+0.5)]' info:
}

e2e_pixels_changed() {
    compare -metric AE "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

e2e_move() { xdotool mousemove "$1" "$2"; }

# Relative moves suit the options screen, which pins the pointer to the window
# centre and reads each move as an offset from there.
e2e_move_by() { xdotool mousemove_relative -- "$1" "$2"; }

e2e_button_down() { xdotool mousedown "${1:-1}"; }

e2e_button_up() { xdotool mouseup "${1:-1}"; }

e2e_key() { xdotool key --delay 50 "$@"; }

e2e_click() { xdotool click "${1:-1}"; }

e2e_key_in_window() {
    local title=$1
    shift
    e2e_wait_window "$title"
    e2e_window_centre "$E2E_WINDOW"
    e2e_move "$E2E_X" "$E2E_Y"
    xdotool windowfocus "$E2E_WINDOW" 2>/dev/null || true
    sleep 0.3
    e2e_key "$@"
}

e2e_expect_running() {
    local seconds=$1 waited=0
    while [ "$waited" -lt "$((seconds * 10))" ]; do
        kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended early"
        sleep 0.1
        waited=$((waited + 1))
    done
}

e2e_expect_exit() {
    local code=$1 seconds=${2:-30} waited=0 status
    while kill -0 "$E2E_PID" 2>/dev/null; do
        [ "$waited" -lt "$((seconds * 10))" ] || e2e_fail "the program did not end within $seconds s"
        sleep 0.1
        waited=$((waited + 1))
    done
    wait "$E2E_PID"
    status=$?
    E2E_PID=""
    [ "$status" -eq "$code" ] || e2e_fail "exit code $status, expected $code"
}
