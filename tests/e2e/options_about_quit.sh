#!/usr/bin/env bash
# The options screen: About plays the credits, which stand until a mouse button
# is pressed; then the panel comes back. Quit ends the program with code 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options_helpers.bash"
e2e_begin "$@"
command -v convert >/dev/null || { e2e_log "SKIP: ImageMagick missing"; exit 77; }

opt_start
opt_shot resting
opt_quit_shown resting || e2e_fail "no Quit button: $(opt_red_count resting 46 22 587 446) red pixels"

# About: plate centre (559.8, 457) px, the cursor at (2.9258, -2.6384).
opt_corner bottom-right
opt_move -98 -28
opt_press
# The stretch stands at frame 39 (1.6 s at 25 frames per second). The title's end
# ("0.9") lies right of x = 390, where the effect never draws.
titled() { [ "$(opt_red_count "$1" 40 40 392 160)" -gt 60 ]; }
opt_shot_until hold 20 titled || e2e_fail "no credits title"
opt_quit_shown hold && e2e_fail "the panel is still there during About"
sleep 1.5
opt_shot still
titled still || e2e_fail "the credits did not hold"

# A mouse button lets the stretch run on to its end: the panel is back.
opt_press
opt_shot_until back 20 opt_quit_shown ||
    e2e_fail "the panel did not come back: $(opt_red_count back 46 22 587 446) red pixels"
sleep 0.5

# Quit: plate centre (610.6, 457) px, 62 mouse pixels right of About.
opt_move 62 0
e2e_button_down 1
e2e_expect_exit 0 10
e2e_button_up 1
e2e_pass
