#!/usr/bin/env bash
# On a 16:9 screen (1280 x 720) the 4:3 picture fills the height, 960 pixels
# wide and centred: black bars of 160 pixels left and right, the show between.
source "$(dirname "$0")/lib.sh"
command -v convert >/dev/null || { e2e_log "SKIP: ImageMagick's convert missing"; exit 77; }
E2E_SCREEN=1280x720x24
e2e_begin "$@"
e2e_run -x
e2e_wait_window "Glide demo"
e2e_expect_running 3
# Brightest value (0..1) of a screen area.
brightest() { convert x:root -crop "$1" +repage -format "%[fx:maxima]" info:; }
left=$(brightest 160x720+0+0)
right=$(brightest 160x720+1120+0)
middle=$(brightest 960x720+160+0)
e2e_key Escape
e2e_expect_exit 0
[ "$left" = "0" ] || e2e_fail "left bar not black (brightest $left)"
[ "$right" = "0" ] || e2e_fail "right bar not black (brightest $right)"
[ "$middle" != "0" ] || e2e_fail "nothing drawn between the bars"
e2e_pass
