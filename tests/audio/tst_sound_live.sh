#!/usr/bin/env bash
# Plays the clips through PlayResSound on a real (private, null-sink) sound
# server and checks the recording of that sink: each clip arrives whole, and
# a new clip cuts off the one playing and starts from its own beginning.
# What a busy machine does to the sound (a pause, the end held back by the
# server) is allowed for; see sound_probe's check.
#   tst_sound_live.sh PATH/TO/sound_probe
set -euo pipefail
probe=$1
source "$(dirname "$0")/null_pulse.sh"

null_pulse_start
rec=$PULSE_TMP/sink.raw
null_pulse_record "$rec"
"$probe" play
sleep 0.3
null_pulse_stop_recording
"$probe" check "$rec"
"$probe" quit-while-playing
echo "quitting while a clip plays: ok"
"$probe" exit-while-playing
echo "exiting while a clip plays: ok"
