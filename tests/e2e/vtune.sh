#!/usr/bin/env bash
# -vtune /s: the letter seen is 'v', so the show runs unpaced in mode Other:
# moves and keys do not end it, Escape does.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
e2e_run -vtune /s
e2e_wait_window "Glide demo"
e2e_expect_running 2
e2e_move 700 600
e2e_key a
e2e_expect_running 2
e2e_key Escape
e2e_expect_exit 0
e2e_pass
