#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a given time from its seed
# corpus. One harness at a time, one process each.
#
#   fuzz/run.sh [-t SECONDS] [-b BUILD_DIR] [HARNESS ...]
#
# Default: 60 seconds each, build directory build-fuzz, every harness that is
# built (fuzz_dialogue, fuzz_engine, fuzz_values). The committed corpus
# fuzz/corpus/<harness>/ is copied into a scratch directory that the run grows;
# the committed one stays small. A finding (crash, sanitizer report, broken
# invariant, timeout, memory limit) is kept as <scratch>/<harness>/crash-...
# (or timeout-/oom-); the script then ends with status 1. After fixing the
# cause, copy the reproducer into fuzz/corpus/<harness>/ by hand.
#
# Environment: FUZZ_SCRATCH (scratch directory, default a new one under
# $TMPDIR), FUZZ_KEEP=1 keeps it at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=60
build=build-fuzz
while getopts "t:b:h" option; do
    case $option in
        t) seconds=$OPTARG ;;
        b) build=$OPTARG ;;
        h) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
case $seconds in ''|*[!0-9]*) echo "fuzz/run.sh: -t takes whole seconds" >&2; exit 2 ;; esac

compiler=$(command -v clang++ || command -v clang++-14 || true)
if [ -z "$compiler" ]; then
    echo "fuzz/run.sh: clang++ not found (apt-get install clang libclang-rt-14-dev)" >&2
    exit 2
fi
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUARVESSIN_FUZZ=ON -DQUARVESSIN_BUILD_TESTS=OFF -DQUARVESSIN_BUILD_BENCHMARKS=OFF \
    -DQUARVESSIN_BUILD_PYTHON=OFF >/dev/null

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    targets=$(cmake --build "$build" --target help)
    for harness in fuzz_dialogue fuzz_engine fuzz_values; do
        if grep -qw "$harness" <<<"$targets"; then
            harnesses+=("$harness")
        else
            echo "== $harness: not built here (see the cmake messages)" >&2
        fi
    done
fi
cmake --build "$build" -j2 --target "${harnesses[@]}"

scratch=${FUZZ_SCRATCH:-$(mktemp -d "${TMPDIR:-/tmp}/quarvessin-fuzz-XXXXXX")}
mkdir -p "$scratch"
[ "${FUZZ_KEEP:-0}" = 1 ] || trap 'rm -rf "$scratch"' EXIT

# Per harness: longest input [bytes], longest run of one input [s].
declare -A maxLen=([fuzz_dialogue]=4096 [fuzz_engine]=24 [fuzz_values]=1024)
declare -A timeout=([fuzz_dialogue]=30 [fuzz_engine]=30 [fuzz_values]=30)

status=0
for harness in "${harnesses[@]}"; do
    work="$scratch/$harness"
    mkdir -p "$work/corpus"
    cp "$root/fuzz/corpus/$harness/"* "$work/corpus/" 2>/dev/null || true
    options=(-max_total_time="$seconds" -timeout="${timeout[$harness]:-30}" -rss_limit_mb=2048
             -max_len="${maxLen[$harness]:-4096}" -print_final_stats=1 -artifact_prefix="$work/")
    [ -f "$root/fuzz/$harness.dict" ] && options+=(-dict="$root/fuzz/$harness.dict")
    echo "== $harness: $seconds s from $(ls "$work/corpus" | wc -l) inputs (log $work/log)"
    set +e
    (cd "$work" && "$root/$build/fuzz/$harness" "${options[@]}" "$work/corpus" >"$work/log" 2>&1)
    result=$?
    set -e
    grep -E "^stat::(number_of_executed_units|average_exec_per_sec)" "$work/log" || true
    findings=$(find "$work" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'timeout-*' -o -name 'oom-*' -o -name 'leak-*' \) | wc -l)
    if [ $result -ne 0 ] || [ "$findings" -ne 0 ]; then
        echo "== $harness: FINDING (status $result)" >&2
        grep -E "ERROR|invariant broken|runtime error|Test unit written" -A12 "$work/log" | head -60 >&2 || tail -40 "$work/log" >&2
        status=1
        trap - EXIT
        echo "== reproducers and log kept in $work" >&2
    fi
done
exit $status
