#!/usr/bin/env bash
# Builds the explorer page, one self-contained HTML file:
#   web/build.sh [--out DIR] [--build-dir DIR]
# compiles the section engine to WebAssembly with Emscripten (the project's
# CMake build, same flags as the native program: no fast-math, no FP
# contraction), bundles the page with esbuild and writes
#   DIR/quarvessin-explorer.html   the page (default DIR: web/build)
#   DIR/quarvessin.js              the module alone, for Node.js
# Needs emscripten (Debian package), Node.js and `npm ci` run in web/
# (web/install-deps.sh does both).
set -euo pipefail
web=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$web")
out=$web/build
bdir=""
while [ $# -gt 0 ]; do
    case $1 in
        --out) out=$2; shift ;;
        --build-dir) bdir=$2; shift ;;
        -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) echo "build.sh: unknown argument $1 (see --help)" >&2; exit 2 ;;
    esac
    shift
done
[ -n "$bdir" ] || bdir=$out/wasm

die() { echo "build.sh: $*" >&2; exit 1; }
command -v emcmake >/dev/null 2>&1 || die "Emscripten is missing: apt-get install emscripten (or web/install-deps.sh)"
command -v node >/dev/null 2>&1 || die "Node.js is missing: apt-get install nodejs"
[ -d "$web/node_modules/esbuild" ] || die "the page's npm packages are missing: (cd web && npm ci)"

# Debian's Emscripten finds its own JavaScript tools through NODE_PATH.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
mkdir -p "$out"
emcmake cmake -S "$root" -B "$bdir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DQUARVESSIN_BUILD_TESTS=OFF -DQUARVESSIN_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$bdir" --target quarvessin_wasm -j2
cp "$bdir/web/quarvessin.js" "$out/quarvessin.js"
# The footer names the project's version, as CMake read it from CMakeLists.txt.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$bdir/CMakeCache.txt")
[ -n "$version" ] || die "no project version in $bdir/CMakeCache.txt"
node "$web/tools/assemble.mjs" "$out/quarvessin.js" "$out/quarvessin-explorer.html" "$version"
