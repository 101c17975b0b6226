#!/usr/bin/env bash
# Installs, builds and runs every test twice: a normal build and one under AddressSanitizer and
# UndefinedBehaviorSanitizer. Tests run on Qt's offscreen platform; no display is needed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
tools/install-deps.sh
tools/check-format.sh

export QT_QPA_PLATFORM=offscreen
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default -j2

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -j2
