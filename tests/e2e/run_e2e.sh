#!/usr/bin/env bash
# Installs the game from a build tree into a scratch prefix and plays one
# whole game on a private X server, through real mouse clicks and keys, with
# what the window shows read back over the accessibility bus.
#
#   run_e2e.sh BUILD_DIR SCREENSHOT_DIR
#
# Everything it starts (Xvfb, a private D-Bus session, the accessibility bus,
# the game) runs in a process group of its own, which is killed on the way
# out, also when this script itself is killed.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
self="$here/$(basename "$0")"
python=/usr/bin/python3  # Debian's, where python3-pyatspi lives
limit=100                # seconds for the whole session

case "${1:-}" in
--group)
    # ------------------------------------------------------------------
    # Leader of the process group: an X server on a free display, then the
    # D-Bus session inside it.
    shift
    work=$1 shots=$2 watch=$3
    # The caller removes the scratch folder; when it was killed, we do.
    trap 'kill -0 "$watch" 2>/dev/null || rm -rf "$work"' EXIT
    trap 'exit 143' TERM INT
    # Ends the whole group if the caller goes away (killed by a test
    # runner's timeout, say) or the session overruns.
    (
        end=$((SECONDS + limit))
        while kill -0 "$watch" 2>/dev/null && [ $SECONDS -lt $end ]; do sleep 1; done
        [ $SECONDS -ge $end ] && echo "e2e: session over ${limit}s, stopping it" >&2
        kill -TERM -- -$$ 2>/dev/null
    ) &

    display=
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
        xvfb=$!
        for _ in $(seq 100); do
            if ! kill -0 "$xvfb" 2>/dev/null; then break; fi  # lost a race for :n
            if DISPLAY=":$n" xwininfo -root >/dev/null 2>&1; then display=":$n"; break 2; fi
            sleep 0.05
        done
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    done
    if [ -z "$display" ]; then
        echo "e2e: could not start Xvfb on any display from :90 to :140" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    echo "e2e: Xvfb on $display"
    export DISPLAY=$display
    set +e
    dbus-run-session -- "$self" --session "$work" "$shots"
    rc=$?
    set -e
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    exit $rc
    ;;
--session)
    # ------------------------------------------------------------------
    # Inside the private D-Bus session: the accessibility bus, then the game.
    shift
    work=$1 shots=$2
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
    launcher=$!
    trap 'kill $launcher 2>/dev/null || true' EXIT
    set +e
    "$python" "$here/play_game.py" \
        --app "$work/prefix/bin/quintor" \
        --app-log "$work/quintor.log" \
        --config-dir "$XDG_CONFIG_HOME" \
        --shots "$shots"
    rc=$?
    set -e
    # Sanitizer reports and Qt's own warnings from the game's runs.
    if grep -E "ERROR: AddressSanitizer|runtime error:|LeakSanitizer|QXcbConnection: XCB error" "$work/quintor.log" >&2; then
        echo "e2e: the game reported errors (above)" >&2
        rc=1
    fi
    if [ $rc -ne 0 ]; then
        echo "---- game output" >&2; tail -n 40 "$work/quintor.log" >&2
    fi
    exit $rc
    ;;
esac

# ----------------------------------------------------------------------
# Caller: check the tools, install the game, start the group, clean up.
build=${1:?usage: run_e2e.sh BUILD_DIR SCREENSHOT_DIR}
shots=${2:?usage: run_e2e.sh BUILD_DIR SCREENSHOT_DIR}

missing=()
for tool in Xvfb xdotool xwininfo xprop import dbus-run-session /usr/libexec/at-spi-bus-launcher "$python"; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
"$python" -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
    echo "e2e: missing ${missing[*]} (packages: xvfb xdotool x11-utils imagemagick dbus at-spi2-core python3-pyatspi)" >&2
    # CI must run it; elsewhere a machine without the tools skips it.
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quintor-e2e.XXXXXX")
group=
cleanup() {
    if [ -n "$group" ]; then
        kill -TERM -- "-$group" 2>/dev/null || true
        for _ in $(seq 20); do kill -0 -- "-$group" 2>/dev/null || break; sleep 0.1; done
        kill -KILL -- "-$group" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

started=$SECONDS
cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log" >&2
    exit 1
}
rm -f "$shots"/*.png
mkdir -p "$shots" "$work/home/config" "$work/runtime"
chmod 700 "$work/runtime"

# Nothing of the caller's desktop may leak in: no display, no session bus,
# no settings, no sound server (and none spawned for the game).
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS QT_QPA_PLATFORM \
      SESSION_MANAGER XAUTHORITY PULSE_SERVER
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_RUNTIME_DIR="$work/runtime"
printf 'autospawn = no\n' >"$work/pulse-client.conf"
export PULSE_CLIENTCONFIG="$work/pulse-client.conf"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LC_ALL=C.UTF-8

# A background job of a script is no group leader, so setsid makes it the
# leader of a new session and group without forking: its pid is the group.
setsid "$self" --group "$work" "$shots" $$ &
group=$!
set +e
wait "$group"
rc=$?
set -e
echo "e2e: finished in $((SECONDS - started)) s with code $rc; screenshots in $shots"
exit $rc
