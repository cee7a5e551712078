#!/usr/bin/env bash
# Installs the project into a temporary prefix and builds and runs a small
# separate project against the installed package (find_package(quarvessin),
# one target quarvessin::engine).
#
#   check_install.sh [BUILD_DIR]
#
# BUILD_DIR: an existing, configured build directory of the project; without
# it the project is configured and built in a temporary directory (libraries
# only, no tests). Exits non-zero on any failure.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/check_install.XXXXXX")
trap 'rm -rf "$work"' EXIT
jobs=${JOBS:-2}

step() { echo "check_install: $*"; }
fail() { echo "check_install: FAILED: $*" >&2; exit 1; }

if [ $# -ge 1 ]; then
    build=$(cd "$1" && pwd) || fail "no build directory $1"
    [ -f "$build/CMakeCache.txt" ] || fail "$build is not a configured build directory"
else
    build=$work/build
    step "configuring the project in $build"
    cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DQUARVESSIN_BUILD_TESTS=OFF -DQUARVESSIN_BUILD_BENCHMARKS=OFF > "$work/configure.log" 2>&1 ||
        { cat "$work/configure.log"; fail "configuring the project"; }
fi
step "building the libraries and the programs"
targets=(quarvessin_water quarvessin_model quarvessin_engine quarvessin_plotdata)
# The command line is built where CLI11 and nlohmann-json are installed.
cli=0
if cmake --build "$build" --target help 2>/dev/null | grep -qx '\.\.\. quarvessin'; then
    targets+=(quarvessin)
    cli=1
fi
cmake --build "$build" -j "$jobs" --target "${targets[@]}" \
    > "$work/build.log" 2>&1 || { tail -n 40 "$work/build.log"; fail "building the project"; }

prefix=$work/prefix
step "installing into $prefix"
cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install"; }

# What a consumer relies on: the public headers, both libraries, the package
# files; and none of the water library's internal headers.
for f in include/quarvessin/water.h \
         include/quarvessin/section.h \
         include/quarvessin/composition.h \
         include/quarvessin/model/HaliteLiquidus.h \
         include/quarvessin/model/WaterCriticalPoint.h \
         include/quarvessin/model/NaClTriplePoint.h \
         include/quarvessin/model/Stateless.h \
         include/quarvessin/model/ModelUnits.h \
         include/quarvessin/model/Caching.h; do
    [ -f "$prefix/$f" ] || fail "$f was not installed"
done
# The programs and the plot script, in one directory, so the script finds
# the program next to itself.
for f in bin/quarvessin_plotdata bin/plot_section; do
    [ -x "$prefix/$f" ] || fail "$f was not installed"
done
if [ $cli -eq 1 ]; then
    [ -x "$prefix/bin/quarvessin" ] || fail "bin/quarvessin was not installed"
    "$prefix/bin/quarvessin" --version | grep -q '^quarvessin ' || fail "the installed quarvessin --version"
fi
"$prefix/bin/plot_section" --help | grep -q 'Usage:' || fail "the installed plot_section --help"
config=$(find "$prefix" -name quarvessinConfig.cmake | head -n 1)
[ -n "$config" ] || fail "no quarvessinConfig.cmake installed"
[ -f "$(dirname "$config")/quarvessinConfigVersion.cmake" ] || fail "no quarvessinConfigVersion.cmake installed"
for lib in quarvessin_water quarvessin_model quarvessin_engine; do
    [ -n "$(find "$prefix" -name "lib$lib.*" | head -n 1)" ] || fail "library $lib was not installed"
done
for internal in eos.h state.h saturation.h ice.h record.h RunState.h BoundaryTrace.h \
                Polynomial.h WaterVaporQuadratic.h LiquidNaClVolume.h; do
    extra=$(find "$prefix/include" -name "$internal")
    [ -z "$extra" ] || fail "internal header installed: $extra"
done
bare=$(find "$prefix/include" -maxdepth 1 -type f)
[ -z "$bare" ] || fail "headers installed outside include/quarvessin: $bare"

# Every installed header must compile on its own from the installed include
# directories alone (no include of a header that stays in the source tree).
step "compiling each installed header on its own"
cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -n "$cxx" ] || cxx=c++
for h in "$prefix"/include/quarvessin/*.h "$prefix"/include/quarvessin/model/*.h; do
    "$cxx" -std=c++17 -fsyntax-only -Wall -Wextra -Wpedantic -I "$prefix/include" \
        -x c++ "$h" > "$work/header.log" 2>&1 ||
        { cat "$work/header.log"; fail "installed header ${h#"$prefix"/} does not compile on its own"; }
done

step "building the consumer against the installed package"
cmake -S "$here/consumer" -B "$work/consumer" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" > "$work/consumer-configure.log" 2>&1 ||
    { cat "$work/consumer-configure.log"; fail "configuring the consumer"; }
cmake --build "$work/consumer" -j "$jobs" > "$work/consumer-build.log" 2>&1 ||
    { cat "$work/consumer-build.log"; fail "building the consumer"; }

step "running the consumer"
"$work/consumer/quarvessin_consumer" || fail "the consumer's checks"
step "passed"
