#!/usr/bin/env bash
# Builds the web page with Debian's emscripten (installing what it needs) and serves it on
# http://127.0.0.1:8000/ until interrupted. The page is build/web/page/: any static server will do
# that sends it with the right types.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh web
cmake --preset web >/dev/null
cmake --build --preset web
exec node scripts/serve.mjs build/web/page 8000
