#!/usr/bin/env bash
# The examples runner on a page of its own: it runs exactly the blocks marked
# as examples, reports a failure anywhere in a block (a failing command before
# a succeeding one, inside a pipe, a Python exception) with its place, skips a
# block whose program is missing, and exits 1.
#   tests/docs/test_run_examples.sh BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quarvessin_runner_XXXXXX")
trap 'rm -rf "$work"' EXIT
page=$work/page.md
cat > "$page" <<'PAGE'
```sh example
quarvessin point 300 500 | grep -q 'liquid+halite'
```
```sh
false    # not an example: never run
```
```sh example
false
true
```
```sh example
quarvessin point 300 500 --wt 1000 | cat
```
```python example
import quarvessin
raise SystemExit(0 if quarvessin.__version__ else 1)
```
```python example
raise ValueError("an example that raises")
```
```sh example needs=no-such-program-anywhere
no-such-program-anywhere
```
PAGE
out=$("$here/run_examples.sh" "$1" "$page")
status=$?
echo "$out"
fail() { echo "test_run_examples: $*" >&2; exit 1; }
[ "$status" -eq 77 ] && exit 77
[ "$status" -eq 1 ] || fail "exit status $status, not 1"
grep -qx "ok $page:1" <<< "$out" || fail "the passing block did not pass"
grep -q "^FAILED $page:7 " <<< "$out" || fail "a failing command before a passing one went unnoticed"
grep -q "^FAILED $page:11 " <<< "$out" || fail "a failure inside a pipe went unnoticed"
grep -q "skipped $page:21 (missing: no-such-program-anywhere)" <<< "$out" || fail "a missing program was not skipped"
if grep -q "skipped $page:14" <<< "$out"; then
    # A build without the Python package (the sanitizer build) skips both
    # Python blocks.
    grep -q "skipped $page:18" <<< "$out" || fail "a Python block ran without the package"
    grep -q "examples: 3 run, 2 failed, 3 skipped" <<< "$out" || fail "wrong count"
else
    grep -q "^FAILED $page:18 " <<< "$out" || fail "a Python exception went unnoticed"
    grep -qx "ok $page:14" <<< "$out" || fail "the Python block did not pass"
    grep -q "examples: 5 run, 3 failed, 1 skipped" <<< "$out" || fail "wrong count"
fi
! grep -q "$page:4" <<< "$out" || fail "a block not marked as an example was run"
echo "test_run_examples: ok"
