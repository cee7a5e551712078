#!/usr/bin/env bash
# Renders one section of every kind with scripts/plot_section and checks the
# pictures: each PNG exists, starts with the PNG signature and is not
# trivially small.
#
#   check_plots.sh EXE               runs the program EXE for each section in a
#                                    temporary directory (answers piped in),
#                                    checks that it wrote the files of its
#                                    case, then plots them
#   check_plots.sh --data-only DIR   plots boundary files already in DIR
#
# Sections: isobars 1 bar (vapour-liquid loop closing at pure water), 300 bar
# (closing at a critical point), 2000 bar (liquidus and vapour-liquid surface),
# 3000 bar (liquidus only); isotherms 25 C (at or below the critical
# temperature of water) and 600 C (above it).
#
# Installs gnuplot-nox when gnuplot is missing. Exits non-zero on any failure
# and ends with a line "plots: N passed, M failed".
set -uo pipefail
export LC_ALL=C

here=$(cd "$(dirname "$0")" && pwd)
plot="$here/../../scripts/plot_section"

usage() { sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'; }

exe=""
data=""
case ${1:-} in
    --data-only) [ $# -eq 2 ] || { usage >&2; exit 2; }; data=$(cd "$2" && pwd) || exit 2 ;;
    -h|--help) usage; exit 0 ;;
    "") usage >&2; exit 2 ;;
    *) [ $# -eq 1 ] && [ -x "$1" ] || { echo "check_plots: no executable program '$1'" >&2; exit 2; }
       exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") ;;
esac

if ! command -v gnuplot >/dev/null 2>&1; then
    echo "check_plots: gnuplot is missing, installing gnuplot-nox"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -q gnuplot-nox >/dev/null ||
        { apt-get update -q >/dev/null && apt-get install -y -q gnuplot-nox >/dev/null; } ||
        { echo "check_plots: could not install gnuplot-nox" >&2; exit 1; }
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/check_plots.XXXXXX")
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }

# A PNG file starts with the eight bytes 89 50 4E 47 0D 0A 1A 0A.
png_ok() {
    local f=$1 sig size
    [ -f "$f" ] || { echo "  $f was not written"; return 1; }
    sig=$(head -c 8 "$f" | od -An -tx1 | tr -d ' \n')
    [ "$sig" = "89504e470d0a1a0a" ] || { echo "  $f is not a PNG (starts with $sig)"; return 1; }
    size=$(wc -c < "$f")
    # A labelled 1000x750 plot with curves takes tens of kB; an empty or
    # failed picture a few kB at most.
    [ "$size" -gt 10240 ] || { echo "  $f is only $size bytes"; return 1; }
}

# kind | value | menu answer | files the section must write (prefixes)
sections=(
    "isobar|1|1|liquid+vapor_ liquid+halite_ vapor+liquid+halite_ vapor+halite_"
    "isobar|300|1|liquid+vapor_ liquid+halite_ vapor+liquid+halite_ vapor+halite_"
    "isobar|2000|1|vapor+liquid_ liquid+halite_"
    "isobar|3000|1|liquid+halite_"
    "isotherm|25|2|liquid+vapor_ liquid+halite_ vapor+liquid+halite_ vapor+halite_"
    "isotherm|600|2|liquid+vapor_ liquid+halite_ vapor+liquid+halite_ vapor+halite_")

for s in "${sections[@]}"; do
    IFS='|' read -r kind value menu prefixes <<< "$s"
    name="$kind $value"
    if [ "$kind" = isobar ]; then suffix=bar.dat; else suffix=c.dat; fi
    fixed=$(printf '%f' "$value")
    if [ -n "$exe" ]; then
        dir="$work/$kind$value"
        mkdir -p "$dir"
        # A section takes seconds; the limit only keeps a hung run from
        # stalling the whole check.
        if ! (cd "$dir" && printf '%s\n%s\n' "$menu" "$value" | timeout 600 "$exe" > console.txt 2>&1); then
            fail "$name: the program ended with a non-zero status (or ran for more than 10 minutes)"
            continue
        fi
        missing=""
        for pre in $prefixes; do
            [ -s "$dir/$pre$fixed$suffix" ] || missing+=" $pre$fixed$suffix"
        done
        if [ -n "$missing" ]; then
            fail "$name: the program did not write$missing"
            continue
        fi
    else
        dir=$data
    fi
    out="$work/${kind}_$value.png"
    if ! "$plot" --dir "$dir" --output "$out" "$kind" "$value" > "$work/plot.log" 2>&1; then
        fail "$name: plot_section failed"
        sed 's/^/  /' "$work/plot.log"
        continue
    fi
    if png_ok "$out"; then
        passed=$((passed + 1))
        echo "ok: $name ($(wc -c < "$out") bytes)"
    else
        fail "$name: bad picture"
    fi
done

echo "plots: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
