#!/usr/bin/env bash
# Builds everything with warnings as errors (installing what it needs), the Linux program and
# the Windows one, and runs every test, the Windows program's under Wine; then builds again with
# AddressSanitizer + UndefinedBehaviorSanitizer and runs the unit, widget, sound and robustness
# suites (the input soak among them) once more.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake --preset windows
cmake --build --preset windows
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
