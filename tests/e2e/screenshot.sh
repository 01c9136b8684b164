#!/usr/bin/env bash
# F12 writes the picture as scrnshot\zentor00.bmp below the working directory:
# a 640 x 480 24-bit bitmap of 921654 bytes; a second F12 writes zentor01.bmp.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
e2e_run -x
e2e_wait_window "Glide demo"
e2e_expect_running 2
e2e_key F12
sleep 1
e2e_key F12
sleep 1
e2e_key Escape
e2e_expect_exit 0
for shot in zentor00.bmp zentor01.bmp; do
    file="$E2E_WORK/scrnshot/$shot"
    [ -f "$file" ] || e2e_fail "no $shot (found: $(ls "$E2E_WORK/scrnshot"))"
    size=$(stat -c %s "$file")
    [ "$size" -eq 921654 ] || e2e_fail "$shot has $size bytes"
    [ "$(head -c 2 "$file")" = "BM" ] || e2e_fail "$shot is not a bitmap"
done
e2e_pass
