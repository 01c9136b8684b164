#!/usr/bin/env bash
# No arguments: Escape in the settings box is Cancel; the program ends with 0
# and no show window ever appears.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
e2e_run
e2e_key_in_window "Solvane Config" Escape
e2e_expect_exit 0
if e2e_find_window "Glide demo" >/dev/null; then
    e2e_fail "a show window appeared"
fi
e2e_pass
