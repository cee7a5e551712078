#!/usr/bin/env bash
# Runs the examples of the user's guide:
#   tests/docs/run_examples.sh BUILD_DIR [FILE.md...]
# (default: README.md and docs/*.md). An example is a fenced block opened with
#   ```sh example            run with bash -e -o pipefail
#   ```python example        run with the build's Python 3 interpreter
# optionally followed by needs=PROGRAM[,PROGRAM...]: the block is skipped
# (and said so) where a program it needs is not on the search path. Each block
# runs in a scratch directory of its own, holding a link `scripts` to the
# repository's scripts/, with the build's programs and scripts/ on the search
# path, the build's Python package importable and matplotlib drawing off
# screen. Exit status: 0 when every block that ran exited with 0, 1 when one
# did not (its output and text are shown), 77 when the programs are not built
# or no example could run.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [FILE.md...]" >&2; exit 2; }
build=$(cd "$1" && pwd) || exit 2
shift
files=("$@")
[ ${#files[@]} -gt 0 ] || files=("$root/README.md" "$root"/docs/*.md)

for program in quarvessin quarvessin_plotdata; do
    [ -x "$build/$program" ] || { echo "SKIPPED: $build/$program is not built"; exit 77; }
done
python=$(sed -n 's/^Python3_EXECUTABLE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null)
[ -n "$python" ] || python=$(command -v python3 || true)
[ -d "$build/python/quarvessin" ] || python=""

work=$(mktemp -d "${TMPDIR:-/tmp}/quarvessin_examples_XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/blocks"

# One file per block, N.sh or N.py, and a line "N LANGUAGE FILE:LINE NEEDS" in index.
awk -v out="$work/blocks" '
    FNR == 1 { inside = 0 }
    inside && /^```[ \t]*$/ { inside = 0; close(block); next }
    inside { print > block; next }
    /^```(sh|python) example([ \t]|$)/ {
        n++; language = ($0 ~ /^```sh/) ? "sh" : "py"
        needs = "-"
        for (i = 3; i <= NF; i++) if ($i ~ /^needs=/) needs = substr($i, 7)
        block = out "/" n "." language
        printf "" > block
        print n, language, FILENAME ":" FNR, needs >> (out "/index")
        inside = 1
    }' "${files[@]}"

ran=0 failed=0 skipped=0
while read -r n language where needs; do
    missing=""
    if [ "$needs" != "-" ]; then
        for program in ${needs//,/ }; do
            command -v "$program" >/dev/null 2>&1 || missing="$missing $program"
        done
    fi
    if [ "$language" = py ] && [ -z "$python" ]; then missing="$missing python-package"; fi
    if [ -n "$missing" ]; then
        echo "skipped $where (missing:$missing)"
        skipped=$((skipped + 1))
        continue
    fi
    dir="$work/run$n"
    mkdir "$dir"
    ln -s "$root/scripts" "$dir/scripts"
    if [ "$language" = sh ]; then
        command=(bash -e -o pipefail "$work/blocks/$n.sh")
    else
        command=("$python" "$work/blocks/$n.py")
    fi
    if (cd "$dir" && PATH="$build:$root/scripts:$PATH" PYTHONPATH="$build/python" MPLBACKEND=Agg \
            timeout 300 "${command[@]}") > "$work/log$n" 2>&1 < /dev/null; then
        echo "ok $where"
    else
        status=$?
        echo "FAILED $where (exit status $status):"
        sed 's/^/    | /' "$work/blocks/$n.$language"
        sed 's/^/    > /' "$work/log$n"
        failed=$((failed + 1))
    fi
    ran=$((ran + 1))
done < <(cat "$work/blocks/index" 2>/dev/null)

echo "examples: $ran run, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] || exit 1
[ "$ran" -gt 0 ] || exit 77
exit 0
