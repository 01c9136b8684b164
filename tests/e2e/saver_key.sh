#!/usr/bin/env bash
# /s: any key ends the saver.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
e2e_run /s
e2e_wait_window "Glide demo"
e2e_expect_running 2
e2e_key a
e2e_expect_exit 0
e2e_pass
