#!/usr/bin/env bash
# Runs quarvessin_plotdata over the whole range of both kinds of section and
# summarises what it wrote: every isobar from 50 to 5000 bar in steps of 50 bar
# plus 1 bar, the critical pressure of water (220.54915 bar) and the highest
# pressure of the vapour + liquid + halite curve (390.1474443379598 bar); every
# isotherm from -20 to 800 C in steps of 10 C plus the critical temperature of
# water (373.976 C) and 800.69 C.
#
# Each run must end with status 0, nothing on standard error and the expected
# set of files, each a well-formed two-column file. The summary gives the runs,
# the failures, the longest run time, the pressure band in which the isobars
# lose their vapour-liquid surface, and per file kind the data lines and the
# lines holding a number that is not finite.
#
# Usage: scripts/sweep.sh [PATH/TO/quarvessin_plotdata]   (default: build/quarvessin_plotdata)
# Takes a few minutes; not part of the test suite.
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/quarvessin_plotdata}
[[ -x $program ]] || { echo "sweep: no program at $program" >&2; exit 1; }
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")

work=$(mktemp -d "${TMPDIR:-/tmp}/quarvessin_sweep_XXXXXX")
trap 'rm -rf "$work"' EXIT

pmax=390.1474443379598  # highest pressure of the three-phase curve [bar]
runs=0
failures=0
longest=0
longest_run=
last_with_vl=   # highest isobar that kept its vapour-liquid surface (>= pmax)
first_without_vl=  # lowest isobar with the liquidus alone
stats=$work/stats  # one line per file: kind, data lines, non-finite lines, pieces
: >"$stats"

fail() {
    failures=$((failures + 1))
    echo "FAIL $1" >&2
}

# Expected file prefixes of a section: kind (1 isobar, 2 isotherm), value.
expected_prefixes() {
    if [[ $1 == 2 ]] || awk -v p="$2" -v m="$pmax" 'BEGIN { exit !(p < m) }'; then
        echo "liquid+halite_ liquid+vapor_ vapor+halite_ vapor+liquid+halite_"
    fi
}

run_section() {
    local kind=$1 value=$2 label dir suffix start seconds status name
    if [[ $kind == 1 ]]; then label="isobar $value bar"; suffix=bar.dat
    else label="isotherm $value C"; suffix=c.dat; fi
    dir=$work/run
    rm -rf "$dir" && mkdir "$dir"
    start=$(date +%s.%N)
    set +e
    (cd "$dir" && printf '%s\n%s\n' "$kind" "$value" | timeout 60 "$program" \
        >"$work/out" 2>"$work/err")
    status=$?
    set -e
    seconds=$(echo "$(date +%s.%N) - $start" | bc)
    runs=$((runs + 1))
    if (($(echo "$seconds > $longest" | bc))); then longest=$seconds; longest_run=$label; fi
    [[ $status == 0 ]] || { fail "$label: exit status $status"; return; }
    [[ -s $work/err ]] && fail "$label: standard error: $(head -c 200 "$work/err")"

    local value_text files=() prefixes
    value_text=$(printf '%f' "$value")
    prefixes=$(expected_prefixes "$kind" "$value")
    if [[ -z $prefixes ]]; then
        # At and above pmax: the liquidus, and the vapour-liquid surface
        # while the critical curve stays below 1000 C.
        if [[ -e $dir/vapor+liquid_$value_text$suffix ]]; then
            prefixes="liquid+halite_ vapor+liquid_"
            if [[ -n $first_without_vl ]]; then
                fail "$label: vapour-liquid surface above the liquidus-only isobar $first_without_vl"
            fi
            last_with_vl=$value
        else
            prefixes="liquid+halite_"
            [[ -z $first_without_vl ]] && first_without_vl=$value
        fi
    fi
    for prefix in $prefixes; do files+=("$prefix$value_text$suffix"); done
    local want have
    want=$(printf '%s\n' "${files[@]}" | sort)
    have=$(find "$dir" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort)
    [[ $want == "$have" ]] || fail "$label: files [${have//$'\n'/ }], expected [${want//$'\n'/ }]"

    for name in "${files[@]}"; do
        [[ -f $dir/$name ]] || continue
        grep -qF "$name" "$work/out" || fail "$label: $name not announced"
        local kindname=${name%%_*}
        [[ $kind == 1 ]] && kindname="isobar $kindname" || kindname="isotherm $kindname"
        # Data lines must be two fields separated by one tab; pieces are
        # separated by single empty lines; no empty first or last line.
        awk -F'\t' -v kind="$kindname" -v label="$label $name" '
            function finite(v) { return v ~ /^-?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][-+]?[0-9]+)?$/ }
            $0 == "" { if (prev_empty) bad = bad " misplaced-empty-line-" NR; prev_empty = 1; pieces++; next }
            NF != 2 { bad = bad " line-" NR "-not-two-fields" }
            { data++; if (!finite($1) || !finite($2)) nonfinite++; prev_empty = 0 }
            END {
                if (NR == 0) bad = bad " empty-file"
                if (prev_empty) bad = bad " empty-last-line"
                if (bad != "") print "FAIL " label ":" bad > "/dev/stderr"
                printf "%s\t%d\t%d\t%d\t%d\n", kind, data, nonfinite, pieces + 1, bad != ""
            }' "$dir/$name" >>"$stats"
    done
}

# In rising order: the band where the vapour-liquid surface ends is found on the way.
for p in $(printf '%s\n' 1 $(seq 50 50 5000) 220.54915 $pmax | sort -g); do run_section 1 "$p"; done
for t in $(printf '%s\n' $(seq -20 10 800) 373.976 800.69 | sort -g); do run_section 2 "$t"; done

malformed=$(awk -F'\t' '{ s += $5 } END { print s + 0 }' "$stats")
failures=$((failures + malformed))
echo
printf 'sweep: %d runs, %d failures, longest run %.3f s (%s)\n' "$runs" "$failures" "$longest" "$longest_run"
echo "isobars at or above $pmax bar keep the vapour-liquid surface up to $last_with_vl bar;" \
    "the liquidus alone from $first_without_vl bar"
echo
printf '%-32s %6s %11s %12s %10s\n' "file kind" files "data lines" "not finite" "max pieces"
sort "$stats" | awk -F'\t' '
    { key = $1; files[key]++; data[key] += $2; nonfinite[key] += $3
      if ($4 > pieces[key]) pieces[key] = $4; order[key] = 1 }
    END { for (k in order) printf "%-32s %6d %11d %12d %10d\n", k, files[k], data[k], nonfinite[k], pieces[k] }' |
    sort
((failures == 0))
