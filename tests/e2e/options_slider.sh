#!/usr/bin/env bash
# The options screen: dragging the PScale X knob from its top stop (100) to its
# bottom stop (0.1) moves the knob and shrinks the effect's glowing bands to
# almost nothing; Escape then ends the show.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options_helpers.bash"
e2e_begin "$@"
command -v convert >/dev/null || { e2e_log "SKIP: ImageMagick missing"; exit 77; }

opt_start
# PScale X: track at x 2.9258 (column centre 559.8 px), knob top at y 2.556;
# the pixels looked at lie left of the cursor's tip, on the knob.
opt_corner top-right
opt_move -98 37
opt_shot before
opt_is_red before 552 33 || e2e_fail "no PScale X knob at its top stop: $(opt_pixel before 552 33)"

e2e_button_down 1
sleep 0.3
opt_move 0 100
sleep 0.3
e2e_button_up 1
# The change ripples through the 100 copies, one per frame (4 s at 25 frames per
# second). The effect's lit share is measured over its part of the screen, which
# does not depend on the colour it is fading through.
before=$(opt_coverage before 370 480 0 0)
shrunk() { [ "$(opt_coverage "$1" 370 480 0 0)" -lt $((before / 3)) ]; }
opt_shot_until after 30 shrunk ||
    e2e_fail "the effect did not shrink: lit share $before, then $(opt_coverage after 370 480 0 0)"
e2e_log "lit share of the effect's area before $before, after $(opt_coverage after 370 480 0 0) (of 1000)"
opt_is_red after 552 33 && e2e_fail "the PScale X knob did not leave its top stop"
opt_is_red after 552 95 || e2e_fail "the PScale X knob is not at its bottom stop: $(opt_pixel after 552 95)"

e2e_expect_running 1
e2e_key Escape
e2e_expect_exit 0
e2e_pass
