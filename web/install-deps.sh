#!/usr/bin/env bash
# Installs what the explorer page needs to be built and tested: Emscripten,
# Node.js, npm and Chromium (Debian packages) when missing, and the page's npm
# packages from package-lock.json (npm ci; no install scripts run).
exec "$(dirname "$0")/../scripts/install-deps" web
