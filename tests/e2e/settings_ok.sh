#!/usr/bin/env bash
# No arguments: the settings box comes first; Enter (Ok) starts the show, where
# only Escape closes.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
e2e_run
e2e_key_in_window "Solvane Config" Return
e2e_wait_window "Glide demo"
e2e_expect_running 2
e2e_key a
e2e_expect_running 1
e2e_key Escape
e2e_expect_exit 0
e2e_pass
