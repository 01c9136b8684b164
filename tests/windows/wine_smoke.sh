#!/usr/bin/env bash
# The Windows screen saver under Wine on a private Xvfb display, as Windows'
# screen-saver settings would start it:
#   /s        draws (F12 writes a picture that is not black); a key ends it, code 0
#   /c        shows the settings dialog ("Solvane Config"); Escape cancels it
#   /p 1234   a preview request ends at once with code 0
# Usage: wine_smoke.sh SOLVANE.SCR SLV.DAT
# Skipped (77) without wine, Xvfb, xdotool or ImageMagick.
source "$(dirname "$0")/../e2e/lib.sh"
scr=$(readlink -f "${1:?the .scr}")
data=$(readlink -f "${2:?slv.dat}")
command -v wine >/dev/null || { echo "wine_smoke: SKIP: wine missing" >&2; exit 77; }
command -v convert >/dev/null || { echo "wine_smoke: SKIP: ImageMagick missing" >&2; exit 77; }

# lib.sh wants an executable beside slv.dat: give it a folder with both, and run
# the .scr through a small launcher so that e2e_run starts Wine.
stage=$(mktemp -d "${TMPDIR:-/tmp}/solvane-wine.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp "$scr" "$stage/solvane.scr"
cp "$data" "$stage/slv.dat"
cat >"$stage/launch" <<LAUNCH
#!/bin/sh
exec wine "$stage/solvane.scr" "\$@"
LAUNCH
chmod +x "$stage/launch"
e2e_begin "$stage/launch"
trap 'e2e_cleanup; wineserver -k 2>/dev/null; rm -rf "$stage"' EXIT

# A private Wine prefix, without the Mono and Gecko installers' questions.
export WINEPREFIX="$stage/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
e2e_log "preparing the Wine prefix"
wineboot --init >/dev/null 2>&1 || e2e_fail "wineboot failed"
wineserver -w

e2e_run /p 1234
e2e_expect_exit 0 60

e2e_run /c
e2e_wait_window "Solvane Config" 60
e2e_key_in_window "Solvane Config" Escape
e2e_expect_exit 0 30

e2e_run /s
e2e_wait_window "Glide demo" 60
e2e_expect_running 3
e2e_key F12
shot="$E2E_WORK/scrnshot/zentor00.bmp"
for _ in $(seq 1 50); do
    [ -s "$shot" ] && break
    sleep 0.1
done
e2e_expect_exit 0 30 # F12 is a key too: the saver ends after the picture
[ -s "$shot" ] || e2e_fail "F12 wrote no picture"
[ "$(e2e_brightness "$shot")" -gt 5 ] || e2e_fail "the picture is black"
e2e_pass
