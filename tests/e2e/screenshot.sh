#!/usr/bin/env bash
# F12 writes the picture as scrnshot\zentor00.bmp below the working directory:
# a 640 x 480 24-bit bitmap of 921654 bytes; a second F12 writes zentor01.bmp.
# The file holds the frame on the screen: on the options screen at rest the panel
# (the right third, which stands still) matches what the window shows, rows the
# right way up and colours in their places.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options_helpers.bash"
e2e_begin "$@"
command -v import >/dev/null || { e2e_log "SKIP: ImageMagick missing"; exit 77; }

opt_start
sleep 1
shots=$(e2e_tmpdir)
e2e_key F12
e2e_capture root "$shots/screen.png" # the window covers the screen
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

# The window shows the 640 x 480 picture scaled to fill it (4:3 here); bring the
# capture back to 640 x 480 and compare the panel, x 420 to 640.
panel=220x480+420+0
convert "$E2E_WORK/scrnshot/zentor00.bmp" -crop "$panel" +repage "$shots/file.png"
convert "$shots/screen.png" -resize '640x480!' -crop "$panel" +repage "$shots/shown.png"
[ "$(e2e_brightness "$shots/file.png")" -gt 20 ] || e2e_fail "the panel in the file is dark"
difference=$(compare -metric RMSE "$shots/file.png" "$shots/shown.png" null: 2>&1 |
    sed 's/.*(\(.*\))/\1/' | awk '{print int($1 * 1000)}')
e2e_log "panel difference $difference / 1000"
[ "$difference" -lt 60 ] || e2e_fail "the file is not the picture shown ($difference / 1000)"
convert "$shots/file.png" -flip "$shots/flipped.png"
flipped=$(compare -metric RMSE "$shots/flipped.png" "$shots/shown.png" null: 2>&1 |
    sed 's/.*(\(.*\))/\1/' | awk '{print int($1 * 1000)}')
[ "$flipped" -gt $((difference * 2)) ] || e2e_fail "the comparison cannot tell rows apart"
e2e_pass
