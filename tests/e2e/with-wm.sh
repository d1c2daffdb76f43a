#!/usr/bin/env bash
# Inside the X server: starts JWM, waits for it to manage the screen, runs the test script.
set -euo pipefail
work=$(mktemp -d)
trap 'kill "$wm" 2>/dev/null || true; rm -rf "$work"' EXIT
HOME="$work" jwm >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
bash "$@"
