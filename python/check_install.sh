#!/usr/bin/env bash
# Installs the Python package the documented offline way into a fresh virtual
# environment (Debian's interpreter with its packages: --system-site-packages,
# --no-build-isolation, --no-index) and runs the README's notebook example and
# the package's tests against the installed copy, from outside the repository.
#
# Usage: python/check_install.sh [PYTHON]   (default /usr/bin/python3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
python=${1:-/usr/bin/python3}
work=$(mktemp -d "${TMPDIR:-/tmp}/quarvessin_venv_XXXXXX")
trap 'rm -rf "$work"' EXIT

"$python" -m venv --system-site-packages "$work/venv"
(cd "$root" && "$work/venv/bin/pip" install -q --no-build-isolation --no-index .)

# The example of the README's section "Python", as it stands there.
sed -n '/^## Python$/,/^## /p' "$root/README.md" |
    awk '/^```python$/ { f = 1; next } /^```$/ { f = 0 } f' > "$work/example.py"
[ -s "$work/example.py" ] || { echo "no Python example in README.md" >&2; exit 1; }
printf '%s\n' 'assert s.accepted and len(s.boundaries) == 4 and wt.shape == (81,)' \
    'print("example: ok,", s, wt[:3])' >> "$work/example.py"
cd "$work"
MPLBACKEND=Agg "$work/venv/bin/python" example.py
"$work/venv/bin/python" -c 'import quarvessin, sys; sys.exit(0 if quarvessin.__file__.startswith(sys.argv[1]) else "imported from " + quarvessin.__file__)' "$work/venv"
QUARVESSIN_SOURCE_DIR=$root MPLBACKEND=Agg "$work/venv/bin/python" -m pytest -q -p no:cacheprovider "$root/python/tests"
