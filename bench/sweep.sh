#!/usr/bin/env bash
# Times `quarvessin section` over the 188-section sweep (isobars 1, 50 to 5000
# step 50, 220.54915 and 390.1474443379598 bar; isotherms -20 to 800 step 10,
# 373.976 and 800.69 C), dat format, every file written into a fresh scratch
# directory each run. Prints the wall-clock time of each run, then the best
# and the median wall and the mean user and system time; with --compare also
# the 188 separate runs of quarvessin_plotdata the same sweep takes.
#
# Usage: bench/sweep.sh [--compare] [--jobs N] [path/to/quarvessin] [RUNS]
# Default program: build/quarvessin next to this script's parent; 10 runs;
# --jobs as the program's default (the machine's cores).
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "$0")/.." && pwd)
compare=0
jobs=()
while [ $# -gt 0 ]; do
    case $1 in
        --compare) compare=1; shift ;;
        --jobs) jobs=(--jobs "$2"); shift 2 ;;
        *) break ;;
    esac
done
program=${1:-$here/build/quarvessin}
runs=${2:-10}
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
[[ -x $program ]] || { echo "no executable at $program" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

sweep=(isobar 1 50:5000:50 220.54915 390.1474443379598 isotherm -20:800:10 373.976 800.69)
now() { date +%s%N; }

echo "program: $program, $runs runs, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
walls=()
TIMEFORMAT='%3U %3S'
cpu_total="0 0"
for ((i = 0; i < runs; i++)); do
    dir=$scratch/run$i
    start=$(now)
    cpu=$( { time "$program" section "${sweep[@]}" --dir "$dir" --quiet "${jobs[@]}" 2>/dev/null; } 2>&1 )
    end=$(now)
    files=$(find "$dir" -name '*.dat' | wc -l)
    [ "$files" -eq 507 ] || { echo "run $i wrote $files files, not 507" >&2; exit 1; }
    rm -rf "$dir"
    wall=$(( (end - start) / 1000 ))
    walls+=("$wall")
    cpu_total=$(awk -v a="$cpu_total" -v b="$cpu" 'BEGIN { split(a, x, " "); split(b, y, " ");
        printf "%.3f %.3f", x[1] + y[1], x[2] + y[2] }')
    printf 'run %2d: %7.1f ms wall\n' "$i" "$(awk -v w="$wall" 'BEGIN { print w / 1000 }')"
done
printf '%s\n' "${walls[@]}" | sort -n | awk -v n="$runs" -v cpu="$cpu_total" '
    { w[NR] = $1 }
    END {
        split(cpu, c, " ")
        printf "sweep of 188 sections: best %.1f ms, median %.1f ms wall; mean %.1f ms user, %.1f ms system\n",
            w[1] / 1000, w[int((n + 1) / 2)] / 1000, c[1] * 1000 / n, c[2] * 1000 / n
    }'

if [ $compare -eq 1 ]; then
    plotdata=$(dirname "$program")/quarvessin_plotdata
    [[ -x $plotdata ]] || { echo "no quarvessin_plotdata next to $program" >&2; exit 1; }
    mkdir -p "$scratch/console" && cd "$scratch/console"
    values() {
        echo 1; seq 50 50 5000; echo 220.54915; echo 390.1474443379598
    }
    start=$(now)
    for v in $(values); do printf '1\n%s\n' "$v" | "$plotdata" >/dev/null; done
    for v in $(seq -20 10 800) 373.976 800.69; do printf '2\n%s\n' "$v" | "$plotdata" >/dev/null; done
    end=$(now)
    printf '188 runs of quarvessin_plotdata: %.1f ms wall\n' "$(awk -v w=$(( (end - start) / 1000 )) 'BEGIN { print w / 1000 }')"
fi
