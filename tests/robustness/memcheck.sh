#!/usr/bin/env bash
# Runs quarvessin_plotdata under valgrind memcheck for one section of every
# kind, two refused section values, an input that ends early and a section
# whose files cannot be created. Fails on any invalid access, any use of an
# undefined value, and any heap block still allocated at exit (the water
# records of the model objects included).
#
# Usage: memcheck.sh PATH/TO/quarvessin_plotdata
set -euo pipefail
export LC_ALL=C

program=${1:?usage: memcheck.sh PATH/TO/quarvessin_plotdata}
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
command -v valgrind >/dev/null || { echo "memcheck: valgrind not found" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quarvessin_memcheck_XXXXXX")
trap 'rm -rf "$work"' EXIT

# Each run: a name, the program's own exit status, the number of data files
# it writes, the input.
runs=(
    "isobar-1bar-boiling-point|0|4|1\n1\n"
    "isobar-300bar-critical-point|0|4|1\n300\n"
    "isobar-2000bar-with-vapour-liquid|0|2|1\n2000\n"
    "isobar-3000bar-liquidus-only|0|1|1\n3000\n"
    "isotherm-25C|0|4|2\n25\n"
    "isotherm-600C|0|4|2\n600\n"
    "pressure-refused|0|0|1\n0.5\n"
    "temperature-refused|0|0|2\n900\n"
    "input-ended|1|0|1\n"
    "file-name-too-long|1|0|2\n-1e300\n"
)

# A status of valgrind's own that the program never returns.
valgrind_found=99
failed=0
printf '%-34s %6s %8s  %s\n' run status seconds memcheck
for entry in "${runs[@]}"; do
    IFS='|' read -r name expected files input <<<"$entry"
    dir=$work/$name
    mkdir -p "$dir"
    log=$work/$name.log
    start=$(date +%s.%N)
    set +e
    (cd "$dir" && printf '%b' "$input" | valgrind --quiet --leak-check=full --show-leak-kinds=all \
        --errors-for-leak-kinds=all --track-origins=yes --error-exitcode=$valgrind_found \
        --log-file="$log" "$program" >"$work/$name.out" 2>"$work/$name.err")
    status=$?
    set -e
    seconds=$(echo "$(date +%s.%N) - $start" | bc)
    verdict=clean
    if [[ $status == "$valgrind_found" ]] || grep -q '^==[0-9]*== ' "$log"; then
        verdict="FINDINGS (see below)"
    elif [[ $status != "$expected" ]]; then
        verdict="exit status $status, expected $expected"
    elif (($(find "$dir" -name '*.dat' | wc -l) != files)); then
        verdict="$(find "$dir" -name '*.dat' | wc -l) data files, expected $files"
    fi
    printf '%-34s %6s %8.2f  %s\n' "$name" "$status" "$seconds" "$verdict"
    if [[ $verdict != clean ]]; then
        failed=$((failed + 1))
        sed 's/^/    /' "$log" | head -60
        sed 's/^/    stderr: /' "$work/$name.err" | head -5
    fi
done
echo "memcheck: ${#runs[@]} runs, $failed with findings or a wrong status"
((failed == 0))
