#!/usr/bin/env bash
# Without any display: /s cannot make its window, says so on stderr and ends with
# 0 instead of running unseen; the settings box is printed and answered Cancel.
set -u
program=$(readlink -f "${1:?program path}")
work=$(mktemp -d "${TMPDIR:-/tmp}/solvane-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "e2e: FAIL: $*" >&2; cat "$work/out" >&2; exit 1; }

run() {
    (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_CONFIG_HOME="$work" \
        timeout 30 "$program" "$@") >"$work/out" 2>&1
}

run /s
status=$?
[ "$status" -eq 0 ] || fail "/s ended with $status"
grep -q "Failed to setup the windows!" "$work/out" || fail "/s did not report the missing window"

run
status=$?
[ "$status" -eq 0 ] || fail "the settings box run ended with $status"
grep -q "Solvane Config: Solvane v0.9" "$work/out" || fail "the settings box was not printed"
grep -q "answered Cancel" "$work/out" || fail "the settings box was not cancelled"
echo "e2e: PASS"
