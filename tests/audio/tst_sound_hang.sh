#!/usr/bin/env bash
# The private sound server stops answering (kill -STOP) at different moments,
# or dies: the program keeps answering, and once told to quit it ends within
# a second or two with status 0, without an abort or a sanitizer report.
#   tst_sound_hang.sh PATH/TO/sound_probe
set -euo pipefail
probe=$1
source "$(dirname "$0")/null_pulse.sh"
null_pulse_start
server=$NULL_PULSE_PIDS
in=$PULSE_TMP/in out=$PULSE_TMP/out err=$PULSE_TMP/err

now_ms() { date +%s%3N; }

start_probe() { # the probe takes its commands from fd 3; it never lives past 10 s
    rm -f "$in"
    mkfifo "$in"
    timeout -s KILL 10 "$probe" session <"$in" >"$out" 2>"$err" &
    probe_pid=$!
    exec 3>"$in"
}

send() { echo "$*" >&3; }

expect_answer() { # WHAT: the event loop answers a ping within a second
    local pongs i
    pongs=$(grep -c pong "$out" || true)
    send ping
    for i in $(seq 100); do
        [ "$(grep -c pong "$out" || true)" -gt "$pongs" ] && return 0
        sleep 0.01
    done
    null_pulse_fail "$1: the program does not answer"
}

quit_and_check() { # WHAT: quit ends the program within 2 s, cleanly
    local start took status=0
    start=$(now_ms)
    send quit
    exec 3>&-
    wait "$probe_pid" || status=$?
    took=$(($(now_ms) - start))
    cat "$err" >&2
    if grep -E -q "AddressSanitizer|runtime error|Assertion|Abort|abort" "$err" || [ "$status" -ne 0 ] ||
        [ "$took" -gt 2000 ]; then
        null_pulse_fail "$1: ended after $took ms with status $status"
    fi
    echo "$1: ended after $took ms with status 0"
}

start_probe
send play clap
sleep 0.4
kill -STOP "$server"
expect_answer "stopped while a clip plays"
sleep 0.5
quit_and_check "stopped while a clip plays"
kill -CONT "$server"

start_probe
send play Roll
sleep 2.5 # the clip is over and its sink let go
kill -STOP "$server"
send play glass
expect_answer "stopped after a clip"
sleep 0.5
quit_and_check "stopped after a clip"
kill -CONT "$server"

kill -STOP "$server"
start_probe
send play Roll
expect_answer "stopped before the first clip"
send play clap
sleep 0.5
quit_and_check "stopped before the first clip"
kill -CONT "$server"

start_probe
send play clap
sleep 0.4
kill -KILL "$server"
wait "$server" 2>/dev/null || true
send play Roll
expect_answer "killed while a clip plays"
sleep 0.5
quit_and_check "killed while a clip plays"
