#!/usr/bin/env bash
# The real XScreenSaver daemon runs the show as its only hack ("solvane -root"):
# told to activate, it starts the program on its own window, and the screen
# shows the effect, moving; the program makes no window of its own; told to
# deactivate, the daemon kills it and it is gone within two seconds.
#
# XScreenSaver refuses to run hacks as root, so as root the daemon runs as an
# unprivileged user made for this test (solvane-e2e), with a home of its own.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
for tool in xscreensaver xscreensaver-command import; do
    command -v "$tool" >/dev/null || { e2e_log "SKIP: $tool missing"; exit 77; }
done

home=$(e2e_tmpdir)
prog=$(e2e_tmpdir)
e2e_copy_program "$prog" --with-data
chmod 755 "$E2E_ROOT" "$home" "$prog"
chmod -R a+rX "$prog"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    id solvane-e2e >/dev/null 2>&1 ||
        useradd --system --no-create-home --shell /usr/sbin/nologin solvane-e2e 2>/dev/null ||
        id solvane-e2e >/dev/null 2>&1 || e2e_fail "cannot make the user solvane-e2e"
    chown solvane-e2e "$home"
    as_user=(runuser -u solvane-e2e --)
fi
program="$prog/$(basename "$E2E_PROGRAM")"
cat >"$home/.xscreensaver" <<CONFIG
mode:		one
selected:	0
timeout:	1:00:00
lock:		False
fade:		False
unfade:		False
splash:		False
programs:	$program -root	\n
CONFIG
[ -n "${as_user[*]}" ] && chown solvane-e2e "$home/.xscreensaver"

saver() { "${as_user[@]}" env DISPLAY="$DISPLAY" HOME="$home" "$@"; }
saver xscreensaver --no-splash --verbose >"$E2E_OUT" 2>&1 &
for _ in $(seq 1 100); do
    saver xscreensaver-command -time >/dev/null 2>&1 && break
    sleep 0.1
done
saver xscreensaver-command -activate >/dev/null 2>&1 || e2e_fail "the daemon did not answer"

hack=""
for _ in $(seq 1 100); do
    hack=$(pgrep -f -x "$program --?root" | head -n 1)
    [ -n "$hack" ] && break
    sleep 0.1
done
[ -n "$hack" ] || e2e_fail "the daemon did not start the show"
sleep 2
kill -0 "$hack" 2>/dev/null || e2e_fail "the show ended by itself"

shots=$(e2e_tmpdir)
e2e_capture root "$shots/a.png"
sleep 0.5
e2e_capture root "$shots/b.png"
[ "$(e2e_brightness "$shots/a.png")" -gt 10 ] || e2e_fail "the screen is black"
[ "$(e2e_pixels_changed "$shots/a.png" "$shots/b.png")" -gt 1000 ] || e2e_fail "the screen stands still"
# The daemon marks its own window with the hack's process number; any other
# window so marked, or one with the show's title, would be the show's own.
for window in $(xdotool search --pid "$hack" 2>/dev/null); do
    xwininfo -id "$window" | grep -q '"XScreenSaver"' || e2e_fail "the show made window $window"
done
[ -z "$(e2e_find_window "Glide demo")" ] || e2e_fail "the show made a window of its own"

saver xscreensaver-command -deactivate >/dev/null 2>&1
for _ in $(seq 1 20); do
    kill -0 "$hack" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$hack" 2>/dev/null && e2e_fail "the show still runs 2 s after deactivation"
saver xscreensaver-command -exit >/dev/null 2>&1
e2e_pass
