#!/usr/bin/env bash
# The private sound server stops answering (kill -STOP) at different moments,
# or dies: the program keeps answering, and once told to quit it ends with
# status 0, without an abort or a sanitizer report, and soon: it waits for
# the sound thread 0.6 s at most, while a hang (libpulse's own device probe
# blocks for 30 s) would run into the probe's time limit.
#   tst_sound_hang.sh PATH/TO/sound_probe
set -euo pipefail
probe=$1
source "$(dirname "$0")/null_pulse.sh"
null_pulse_start
server=$NULL_PULSE_PIDS
in=$PULSE_TMP/in out=$PULSE_TMP/out err=$PULSE_TMP/err

send() { printf '%s\n' "$@" >&3; }

start_probe() { # start_probe [COMMAND...]: commands go to fd 3; it never lives past 20 s
    rm -f "$in" && mkfifo "$in"
    timeout -s KILL 20 "$probe" session <"$in" >"$out" 2>"$err" &
    probe_pid=$!
    exec 3>"$in"
    send "$@"
}

# finish WHAT [COMMAND...]: sends the commands; the program must answer a
# ping, then end cleanly within 8 s of "quit" (a few hundred ms when the
# machine is idle; the bound leaves room for a loaded one).
finish() {
    local what=$1 start took status=0
    shift
    send "$@" ping
    timeout 5 bash -c 'until grep -q pong "$0"; do sleep 0.01; done' "$out" ||
        null_pulse_fail "$what: the program does not answer"
    sleep 0.5
    start=$(date +%s%3N)
    send quit
    exec 3>&-
    wait "$probe_pid" || status=$?
    took=$(($(date +%s%3N) - start))
    cat "$err" >&2
    if grep -E -q "AddressSanitizer|runtime error|Assertion|Abort|abort" "$err" || [ "$status" -ne 0 ] ||
        [ "$took" -gt 8000 ]; then
        null_pulse_fail "$what: ended after $took ms with status $status"
    fi
    echo "$what: ended after $took ms with status 0"
    kill -CONT "$server" 2>/dev/null || true
}

start_probe "play clap"
sleep 0.4
kill -STOP "$server"
finish "stopped while a clip plays"

start_probe "play Roll"
sleep 2.5 # the clip is over and its sink let go
kill -STOP "$server"
finish "stopped after a clip" "play glass"

kill -STOP "$server"
start_probe "play Roll" "play clap"
finish "stopped before the first clip"

start_probe "play clap"
sleep 0.4
kill -KILL "$server"
wait "$server" 2>/dev/null || true
finish "killed while a clip plays" "play Roll"
