#!/usr/bin/env bash
# Builds everything with warnings as errors (installing what it needs): the Linux program, the
# Windows one and the web page; runs every test, the Windows program's under Wine and the page's
# in headless Chromium; then builds again with
# AddressSanitizer + UndefinedBehaviorSanitizer and runs the unit, widget, sound and robustness
# suites (the input soak among them) once more.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake --preset windows
cmake --build --preset windows
cmake --preset web
cmake --build --preset web
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
