#!/usr/bin/env bash
# The program alone, without slv.dat beside it: before anything else, in every
# mode that would show something (the settings mode, /s, /a), it shows the
# archive message box: a small window captioned "Glide demo" whose text (echoed on
# stderr) names the file; no show's window comes; Return dismisses the box and the
# program ends with 0.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
dir=$(e2e_tmpdir)
e2e_copy_program "$dir"
screen_width=$(xdpyinfo | awk '/dimensions:/ {split($2, size, "x"); print size[1]}')

for mode in "" /s /a; do
    e2e_log "mode '${mode:-none}'"
    if [ -n "$mode" ]; then
        e2e_run_in "$dir" "$mode"
    else
        e2e_run_in "$dir"
    fi
    e2e_wait_window "Glide demo"
    width=$(xwininfo -id "$E2E_WINDOW" | awk '/Width:/ {print $2}')
    [ "$width" -lt "$screen_width" ] || e2e_fail "a full-screen window, not the message box"
    for _ in $(seq 1 30); do
        grep -q 'Unable to find the "Slv.Dat" file' "$E2E_OUT" && break
        sleep 0.1
    done
    grep -q 'Glide demo: Unable to find the "Slv.Dat" file' "$E2E_OUT" ||
        e2e_fail "the box does not say the archive is missing"
    grep -q 'same dir as the .exe file!' "$E2E_OUT" || e2e_fail "the box's advice is missing"
    e2e_key_in_window "Glide demo" Return
    e2e_expect_exit 0
    [ -z "$(e2e_find_window "Solvane Config")" ] || e2e_fail "the settings box came after all"
done
e2e_pass
