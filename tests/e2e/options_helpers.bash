# Helpers for the options screen's end-to-end cases (options_*.sh), on top of
# lib.sh. The show's window covers the screen and pins the hidden pointer to its
# centre, so moving the pointer by (dx, dy) from the centre moves the 3D cursor
# by dx * 0.01 scene units right and dy * 0.01 down. Positions below are those of
# the generated options scene (assets/content.cpp): scene units of the cursor
# plane, the cursor's tip at (0.0075, 0.0025) in the middle of the screen.

# Starts the program with no arguments, confirms the settings box and waits for
# the show; sets OPT_CX, OPT_CY (the window's centre on the screen).
opt_start() {
    e2e_run
    e2e_key_in_window "Solvane Config" Return
    e2e_wait_window "Glide demo"
    e2e_window_centre "$E2E_WINDOW"
    OPT_CX=$E2E_X OPT_CY=$E2E_Y
    e2e_move "$OPT_CX" "$OPT_CY"
    sleep 1.5
}

# Moves the cursor by DX, DY mouse pixels, in steps the show takes one per frame.
# Each step puts the pointer at an offset from the centre, where the show has
# put it back after the step before.
opt_move() {
    local dx=$1 dy=$2 sx sy
    while [ "$dx" -ne 0 ] || [ "$dy" -ne 0 ]; do
        sx=$dx sy=$dy
        [ "$sx" -gt 120 ] && sx=120
        [ "$sx" -lt -120 ] && sx=-120
        [ "$sy" -gt 120 ] && sy=120
        [ "$sy" -lt -120 ] && sy=-120
        e2e_move $((OPT_CX + sx)) $((OPT_CY + sy))
        sleep 0.15
        dx=$((dx - sx)) dy=$((dy - sy))
    done
}

# Pushes the cursor against a corner of its range, where it stops exactly:
# top-right (3.9025, 2.9225) or bottom-right (3.9025, -2.9175).
opt_corner() {
    case $1 in
    top-right) opt_move 1000 -700 ;;
    bottom-right) opt_move 1000 700 ;;
    *) e2e_fail "no corner $1" ;;
    esac
}

# Holds the left button for a few frames, so that a frame sees it down.
opt_press() {
    e2e_button_down 1
    sleep 0.3
    e2e_button_up 1
    sleep 0.2
}

OPT_SHOTS=0
# Takes a screenshot with F12 and copies it to E2E_WORK/NAME.bmp.
opt_shot() {
    local file
    file=$(printf '%s/scrnshot/zentor%02d.bmp' "$E2E_WORK" "$OPT_SHOTS")
    e2e_key F12
    local i
    for i in $(seq 1 50); do
        [ -s "$file" ] && break
        sleep 0.1
    done
    [ -s "$file" ] || e2e_fail "F12 wrote no $file"
    sleep 0.3
    cp "$file" "$E2E_WORK/$1.bmp"
    OPT_SHOTS=$((OPT_SHOTS + 1))
}

# Takes screenshots named NAME until CHECK NAME ARGS... succeeds or SECONDS
# have passed; the show's pace varies with the machine's load.
opt_shot_until() {
    local name=$1 seconds=$2 started=$SECONDS
    shift 2
    while :; do
        opt_shot "$name"
        "$@" "$name" && return 0
        [ $((SECONDS - started)) -lt "$seconds" ] || return 1
        sleep 0.5
    done
}

# Prints "R G B" (0 to 255) of pixel X, Y of screenshot NAME.
opt_pixel() {
    convert "$E2E_WORK/$1.bmp" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# True when pixel X, Y of screenshot NAME is the red of a knob.
opt_is_red() {
    local r g b
    read -r r g b < <(opt_pixel "$1" "$2" "$3")
    [ "$r" -gt 110 ] && [ "$g" -lt 60 ] && [ "$b" -lt 60 ]
}

# True when screenshot NAME shows the Quit button: the red rims of its 46 x 22
# plate centred at (610.6, 457) (its face is dark, its label green).
opt_quit_shown() {
    [ "$(opt_red_count "$1" 46 22 587 446)" -gt 60 ]
}

# Prints how much (0 to 1000) of the W x H area at X, Y of NAME is lit at all,
# whatever the colour and its strength.
opt_coverage() {
    convert "$E2E_WORK/$1.bmp" -crop "$2x$3+$4+$5" +repage \
        -fx '(r > 0.03 || g > 0.03 || b > 0.03) ? 1 : 0' -format '%[fx:int(1000*mean)]' info:
}

# Prints how many pixels of the W x H area at X, Y of NAME are red.
opt_red_count() {
    convert "$E2E_WORK/$1.bmp" -crop "$2x$3+$4+$5" +repage \
        -fx '(r > 0.43 && g < 0.24 && b < 0.24) ? 1 : 0' -format '%[fx:int(mean*w*h)]' info:
}
