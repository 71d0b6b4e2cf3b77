#!/usr/bin/env bash
# Runs bench_sound_latency against a private PulseAudio server with a null sink.
#   sound_latency.sh PATH/TO/bench_sound_latency
set -euo pipefail
bench=$1
source "$(dirname "$0")/../tests/audio/null_pulse.sh"
null_pulse_start
QT_QPA_PLATFORM=offscreen "$bench"
