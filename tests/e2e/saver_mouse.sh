#!/usr/bin/env bash
# /s: a move of 50 pixels from where the pointer was at start keeps the saver
# running (the threshold's default); 51 pixels on one axis ends it with code 0.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
e2e_move 100 100
e2e_run /s
e2e_wait_window "Glide demo"
e2e_expect_running 2 # start-up pause and first frames
e2e_move 150 100
e2e_expect_running 2
e2e_move 150 150
e2e_expect_running 1
e2e_move 100 151
e2e_expect_exit 0
e2e_pass
