#!/usr/bin/env bash
# Builds the game (installing what it needs) and starts it. Arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/app/wirbelbox "$@"
