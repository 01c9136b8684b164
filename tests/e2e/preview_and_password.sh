#!/usr/bin/env bash
# Requests from the display control panel end at once with 0 and show nothing:
# a preview into window 1234 is never drawn, and the password change finds no
# password service on this system.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
for request in "/p 1234" "/l 1234" "/a 1234"; do
    # shellcheck disable=SC2086
    e2e_run $request
    e2e_expect_exit 0 10
    if e2e_find_window "Glide demo" >/dev/null || e2e_find_window "Solvane Config" >/dev/null; then
        e2e_fail "$request showed a window"
    fi
done
e2e_pass
