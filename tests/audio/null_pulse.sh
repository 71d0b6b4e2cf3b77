# Sourced by the sound tests and benchmarks: a private PulseAudio server with
# one null sink ("nullsink"), reachable only through a socket in a temporary
# folder, and a recorder of what that sink plays.
#   null_pulse_start            starts the server; exports HOME, XDG_RUNTIME_DIR
#                               and PULSE_SERVER so every client finds it
#                               (exits with 77, "skipped", where PulseAudio
#                               is not installed, except on CI)
#   null_pulse_record FILE      records nullsink.monitor as raw s16le, mono,
#                               44100 Hz, and returns once sound data flows
#   PULSE_TMP                   the temporary folder (removed at exit)
# Both are stopped and the folder removed when the calling shell exits.

null_pulse_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

null_pulse_cleanup() {
    local pid
    for pid in ${NULL_PULSE_PIDS:-}; do
        kill "$pid" 2>/dev/null || true
        kill -CONT "$pid" 2>/dev/null || true # a stopped server takes its signal only now
        wait "$pid" 2>/dev/null || true
    done
    [ -n "${PULSE_TMP:-}" ] && rm -rf "$PULSE_TMP"
}

null_pulse_start() {
    local tool
    for tool in pulseaudio parec pactl; do
        command -v "$tool" >/dev/null && continue
        echo "$tool is not installed (packages pulseaudio, pulseaudio-utils)" >&2
        # CI must run the test; elsewhere a machine without the tools skips it.
        [ "${CI:-}" = true ] && exit 1
        exit 77
    done
    NULL_PULSE_PIDS=""
    PULSE_TMP=$(mktemp -d)
    trap null_pulse_cleanup EXIT
    mkdir -m 700 "$PULSE_TMP/runtime" "$PULSE_TMP/home"
    export HOME=$PULSE_TMP/home XDG_RUNTIME_DIR=$PULSE_TMP/runtime
    export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native

    # -n: no default modules, so nothing but the null sink and the local
    # socket. As root it warns that it is meant for --system, and runs anyway.
    pulseaudio --daemonize=no --exit-idle-time=-1 -n --disallow-exit --use-pid-file=no \
        --load="module-null-sink sink_name=nullsink" \
        --load="module-native-protocol-unix auth-anonymous=1" \
        >"$PULSE_TMP/pulseaudio.log" 2>&1 &
    NULL_PULSE_PIDS=$!
    local i
    for i in $(seq 100); do
        pactl info >/dev/null 2>&1 && return 0
        kill -0 "$NULL_PULSE_PIDS" 2>/dev/null || break
        sleep 0.1
    done
    cat "$PULSE_TMP/pulseaudio.log" >&2
    null_pulse_fail "the PulseAudio server did not come up"
}

null_pulse_record() {
    local file=$1 i
    parec --raw --format=s16le --rate=44100 --channels=1 --latency-msec=10 -d nullsink.monitor >"$file" &
    NULL_PULSE_PIDS="$! $NULL_PULSE_PIDS"
    # The monitor delivers nothing for the first second or so.
    for i in $(seq 100); do
        [ -s "$file" ] && { sleep 0.2; return 0; }
        sleep 0.05
    done
    null_pulse_fail "the null sink's monitor delivered nothing"
}

null_pulse_stop_recording() {
    local pid=${NULL_PULSE_PIDS%% *}
    kill -INT "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    NULL_PULSE_PIDS=${NULL_PULSE_PIDS#* }
}
