#!/usr/bin/env bash
# Builds everything with warnings as errors (installing what it needs) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
