#!/usr/bin/env bash
# scripts/check-format on small git checkouts of its own: a formatted file
# passes, an unformatted one fails, a line wider than the column limit that
# clang-format leaves alone fails, and a line of exactly the limit in
# characters passes even when multibyte characters make it longer in bytes.
# Skipped (77) where clang-format 14 or git is missing.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
check=$root/scripts/check-format

command -v git >/dev/null || { echo "git missing: skipped"; exit 77; }
"$check" "$root" >/dev/null 2>&1
[ $? -eq 2 ] && { echo "clang-format 14 missing: skipped"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A checkout holding the repository's .clang-format and one file.
checkout() {
    local name=$1 file=$2
    local dir=$work/$name
    mkdir -p "$dir"
    cp "$root/.clang-format" "$dir/"
    printf '%s' "$file" > "$dir/a.cpp"
    git -C "$dir" init -q
    git -C "$dir" add .clang-format a.cpp
    echo "$dir"
}
expect() {
    local want=$1 name=$2 file=$3
    local dir
    dir=$(checkout "$name" "$file")
    "$check" "$dir" > "$work/$name.out" 2>&1
    local got=$?
    [ "$got" -eq "$want" ] || { fail "$name: status $got, expected $want"; cat "$work/$name.out"; }
}

formatted=$'int f(int x) { return x + 1; }\n'
expect 0 formatted "$formatted"

unformatted=$'int  f( int x ){\nreturn x+1;}\n'
expect 1 unformatted "$unformatted"

# A comment of one 101-character word: clang-format cannot break it.
word=$(printf 'x%.0s' $(seq 1 98))
expect 1 wide_comment "// $word"$'\n'"$formatted"

# Exactly 100 characters, of which two are the two-byte degree sign.
comment="// $(printf 'y%.0s' $(seq 1 95))°°"
[ "$(printf '%s' "$comment" | LC_ALL=C.UTF-8 wc -m)" -eq 100 ] || fail "test comment is not 100 characters"
expect 0 multibyte_at_limit "$comment"$'\n'"$formatted"

# A file that is not tracked is not checked.
dir=$(checkout untracked "$formatted")
printf '%s' "$unformatted" > "$dir/b.cpp"
"$check" "$dir" >/dev/null 2>&1 || fail "untracked file was checked"

[ $failures -eq 0 ] && echo "check-format: all cases behave" && exit 0
exit 1
