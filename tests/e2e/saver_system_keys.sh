#!/usr/bin/env bash
# /s: keys that arrive as system keys (F10, or any key with Alt held) are not
# closing input; a plain key after them still is.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
e2e_run /s
e2e_wait_window "Glide demo"
e2e_expect_running 2
e2e_key F10 alt+x alt+Return
e2e_expect_running 2
e2e_key b
e2e_expect_exit 0
e2e_pass
