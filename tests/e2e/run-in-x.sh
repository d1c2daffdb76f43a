#!/usr/bin/env bash
# Runs a test script in a fresh, private X server (1024 x 768) with the JWM window manager.
# Usage: run-in-x.sh SCRIPT ARGS...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exec xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" \
  bash "$here/with-wm.sh" "$@"
