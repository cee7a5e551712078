#!/usr/bin/env bash
# Times the real quarvessin_plotdata for one section of every kind: each
# section is run RUNS times in a scratch directory, and the mean wall-clock,
# user and system time per run are printed, slowest last within each kind.
#
# Usage: bench/sections.sh [path/to/quarvessin_plotdata] [RUNS]
# Default program: build/quarvessin_plotdata next to this script's parent.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$here/build/quarvessin_plotdata}
runs=${2:-20}
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
[[ -x $program ]] || { echo "no executable at $program" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# Mean times of RUNS runs with the given answers on standard input, in ms:
# prints "wall user sys".
time_section() {
    local input=$1 start end
    local TIMEFORMAT='%3U %3S'
    start=$(date +%s%N)
    local cpu
    cpu=$( { time for ((i = 0; i < runs; i++)); do
                 printf '%b' "$input" | "$program" >/dev/null
             done; } 2>&1 )
    end=$(date +%s%N)
    awk -v w=$(( (end - start) / 1000 )) -v c="$cpu" -v n="$runs" 'BEGIN {
        split(c, t, " ");
        printf "%8.1f %8.1f %8.1f\n", w / 1000 / n, t[1] * 1000 / n, t[2] * 1000 / n }'
}

report() {
    local kind=$1; shift
    printf '%-11s %-20s %8s %8s %8s\n' "$kind" section "wall/ms" "user/ms" "sys/ms"
    for value in "$@"; do
        local choice=1 unit=bar
        [[ $kind == isothermal ]] && choice=2 unit=C
        printf '%-11s %-20s %s\n' "$kind" "$value $unit" "$(time_section "$choice\n$value\n")"
    done | sort -k5 -n
}

echo "program: $program, $runs runs per section"
report isobaric 1 100 220.54915 300 390 390.1474443379598 1000 2000 2500 5000
report isothermal -10 25 200 373.976 374 500 600 800
