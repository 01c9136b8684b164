#!/usr/bin/env bash
# -window-id: the show drawn into a 320 x 200 window of another program (a
# settings program's preview pane), scaled with its 4:3 aspect kept: 266 x 200
# in the middle, black bars 27 pixels wide left and right. The program makes no
# window of its own, ends on SIGTERM with code 0, ends when the window goes, and
# refuses a number that names no window with one line and code 1.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
command -v import >/dev/null || { e2e_log "SKIP: ImageMagick missing"; exit 77; }
[ -x "${E2E_HOST_WINDOW:-}" ] || { e2e_log "SKIP: no e2e_host_window"; exit 77; }

# start_host WIDTH HEIGHT [SECONDS]: HOST = the new window's number.
start_host() {
    local idFile
    idFile="$(e2e_tmpdir)/id"
    "$E2E_HOST_WINDOW" "$@" >"$idFile" &
    for _ in $(seq 1 100); do
        HOST=$(cat "$idFile")
        [ -n "$HOST" ] && return 0
        sleep 0.1
    done
    e2e_fail "the host window did not appear"
}

start_host 320 200
e2e_run -window-id "$HOST"
e2e_expect_running 3
[ -z "$(xdotool search --pid "$E2E_PID" 2>/dev/null)" ] || e2e_fail "the program made a window"

shots=$(e2e_tmpdir)
e2e_capture "$HOST" "$shots/a.png"
sleep 0.5
e2e_capture "$HOST" "$shots/b.png"
size=$(identify -format '%wx%h' "$shots/a.png")
[ "$size" = 320x200 ] || e2e_fail "the host window is $size"
for bar in 27x200+0+0 27x200+293+0; do
    [ "$(e2e_brightness "$shots/a.png" "$bar")" -eq 0 ] || e2e_fail "bar $bar is not black"
done
for part in 133x200+27+0 133x200+160+0; do
    [ "$(e2e_brightness "$shots/a.png" "$part")" -gt 10 ] || e2e_fail "nothing drawn in $part"
done
[ "$(e2e_pixels_changed "$shots/a.png" "$shots/b.png")" -gt 500 ] || e2e_fail "the picture stands still"

kill -TERM "$E2E_PID"
e2e_expect_exit 0 2

# The window goes away under the show: it ends by itself.
start_host 320 200 3
e2e_run --window-id "$HOST"
e2e_expect_exit 0 10

# A number that names no window.
e2e_run -window-id 0x1ffffff0
e2e_expect_exit 1 10
grep -q "no window 0x1ffffff0" "$E2E_OUT" || e2e_fail "no clear line for a missing window"
[ "$(wc -l <"$E2E_OUT")" -eq 1 ] || e2e_fail "more than one line for a missing window"
e2e_pass
