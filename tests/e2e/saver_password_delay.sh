#!/usr/bin/env bash
# /s with "Password Delay" 0: every close asks the password service first; Linux
# has none, so the saver still ends on a key, with 0.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
e2e_registry "Password Delay=dword:00000000"
e2e_run /s
e2e_wait_window "Glide demo"
e2e_expect_running 2
e2e_key space
e2e_expect_exit 0
e2e_pass
