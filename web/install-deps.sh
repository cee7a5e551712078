#!/usr/bin/env bash
# Installs what the explorer page needs to be built and tested: Emscripten,
# Node.js and Chromium (Debian packages, as root) when missing, and the
# page's npm packages from package-lock.json (npm ci; no install scripts run).
set -euo pipefail
cd "$(dirname "$0")"
export DEBIAN_FRONTEND=noninteractive

need() {  # need COMMAND PACKAGE...: install the packages when COMMAND is missing
    local cmd=$1
    shift
    command -v "$cmd" >/dev/null 2>&1 && return 0
    echo "install-deps: installing $*"
    apt-get install -y -qq "$@" >/dev/null 2>&1 ||
        { apt-get update -qq >/dev/null && apt-get install -y -qq "$@" >/dev/null; }
}
need emcc emscripten
need node nodejs
need npm npm
need chromium chromium

npm ci --no-audit --no-fund --ignore-scripts
