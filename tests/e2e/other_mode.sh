#!/usr/bin/env bash
# -x (an unknown switch, mode Other): no screen-saver rules, so moves, clicks
# and keys leave the show running; Escape ends it.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
e2e_run -x
e2e_wait_window "Glide demo"
e2e_expect_running 2
e2e_move 600 500
e2e_move 20 700
e2e_click 1
e2e_key a space
e2e_expect_running 2
e2e_key Escape
e2e_expect_exit 0
e2e_pass
