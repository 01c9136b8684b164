#!/usr/bin/env bash
# /s with "Mouse Threshold" set to 5 in the registry file: 5 pixels keep the
# saver running, 6 end it.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
e2e_registry "Mouse Threshold=dword:00000005" "Password Delay=60"
e2e_move 300 300
e2e_run /s
e2e_wait_window "Glide demo"
e2e_expect_running 2
e2e_move 305 300
e2e_expect_running 2
e2e_move 306 300
e2e_expect_exit 0
e2e_pass
