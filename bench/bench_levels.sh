#!/usr/bin/env bash
# Mean total and mean loss of each level over N seeded games, and how long
# each simulation takes (the first run fills the table cache if needed).
#   bench_levels.sh PATH/TO/quintor-coach [N]
set -euo pipefail
coach=$1 games=${2:-10000}
"$coach" >/dev/null # the table, cached before anything is timed
for level in easy medium hard perfect; do
    start=$(date +%s%N)
    out=$("$coach" --simulate "$games" --level "$level" --seed 20261207 --json)
    ms=$((($(date +%s%N) - start) / 1000000))
    echo "$level: $out in $ms ms"
done
