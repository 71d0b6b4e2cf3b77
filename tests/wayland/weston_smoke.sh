#!/usr/bin/env bash
# Starts the game natively under a headless Weston and checks, from the
# compositor's side, that its window is mapped with the exact title; then
# ends both. Exit 77 (skipped) where Weston is not installed.
#   weston_smoke.sh PATH/TO/quintor
set -uo pipefail
game=$1
# The title's acute accent (U+00B4) as UTF-8 bytes: $'\u00b4' turns into the
# character only in a UTF-8 locale.
title=$'Tulvar\xc2\xb4s Quintor'

for tool in weston weston-debug; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed (Debian package weston)"; exit 77; }
done

tmp=$(mktemp -d)
weston_pid= game_pid=
stop() { # PID: asks first, so that weston takes its helper clients along
    kill -TERM "$1" 2>/dev/null || return 0
    for _ in $(seq 30); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}
cleanup() {
    [ -n "$game_pid" ] && stop "$game_pid"
    [ -n "$weston_pid" ] && stop "$weston_pid"
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "--- game's stderr";  tail -n 30 "$tmp/game.err"
    echo "--- weston's log";   tail -n 30 "$tmp/weston.log"
    exit 1
}

export XDG_RUNTIME_DIR=$tmp/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=quintor-smoke-$$
: >"$tmp/game.err"

# --debug lets weston-debug read the compositor's scene graph.
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --debug \
       --log="$tmp/weston.log" >/dev/null 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
    kill -0 "$weston_pid" 2>/dev/null || fail "weston exited at start"
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || fail "weston's socket did not appear"

QT_QPA_PLATFORM=wayland "$game" 2>"$tmp/game.err" &
game_pid=$!

# The shell names a mapped top-level window "top-level window 'TITLE' of APP".
mapped=
deadline=$((SECONDS + 20))
while [ "$SECONDS" -lt "$deadline" ]; do
    timeout 5 weston-debug scene-graph >"$tmp/scene" 2>/dev/null
    if LC_ALL=C grep -qF "top-level window '$title' of" "$tmp/scene"; then
        mapped=yes
        break
    fi
    kill -0 "$game_pid" 2>/dev/null || fail "the game exited before its window was mapped"
    sleep 0.5
done
[ -n "$mapped" ] || { cat "$tmp/scene"; fail "no top-level window titled '$title' in the scene graph"; }
echo "window mapped: $(LC_ALL=C grep -F "top-level window" "$tmp/scene" | head -n 1 | sed 's/^[[:space:]]*//')"

kill -TERM "$game_pid"
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end on SIGTERM"
wait "$game_pid"; status=$?
game_pid=
# Ended by the signal, or by a handler of its own that exits normally.
[ "$status" -eq 143 ] || [ "$status" -eq 0 ] || fail "the game ended with status $status after SIGTERM"
grep -qE 'Sanitizer|runtime error' "$tmp/game.err" && fail "sanitizer report"

stop "$weston_pid"
weston_pid=
echo "PASS"
