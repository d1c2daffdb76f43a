#!/usr/bin/env bash
# Builds everything with warnings as errors (installing what it needs): the Linux program, the
# Windows one, the web page and the headless back end, the last also for arm64, s390x (big-endian)
# and armhf (32-bit) with Debian's cross compilers. Runs every test: the platform's contract on the
# headless back end and on Qt; the rules, the contract and the unit tests on the other processors
# under qemu; the end-to-end driver (tests/e2e, pytest) on X11 (its sound on PulseAudio and on
# PipeWire), GNOME, Windows under Wine (at 100, 150 and 200 %, and its installer) and the page in
# Chromium, Firefox and WebKit; the release (built, its Debian package linted and installed, and
# built again to be the same bit for bit). Then builds again with AddressSanitizer +
# UndefinedBehaviorSanitizer and runs the unit, widget and contract suites and the real program's
# faults and the input soak once more.
# Usage: scripts/test.sh [--quick]   (--quick: the Linux program and the headless back end only, and
#   the unit, rule and contract tests and the Linux program end to end: a contributor's loop)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
if [[ "${1:-}" == --quick ]]; then
  cmake --preset headless
  cmake --build --preset headless
  cmake --preset ci
  cmake --build --preset ci
  exec ctest --preset quick
fi
cmake --preset windows
cmake --build --preset windows
cmake --preset web
cmake --build --preset web
cmake --preset headless
cmake --build --preset headless
for arch in arm64 s390x armhf arm64-qt; do
  cmake --preset cross-$arch
  cmake --build --preset cross-$arch
done
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
