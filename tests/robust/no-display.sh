#!/usr/bin/env bash
# Without any display the game says so in one line and exits with a failure, no core dump.
set -uo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for display in "" ":97"; do
  XDG_RUNTIME_DIR="$work" DISPLAY="$display" WAYLAND_DISPLAY="" QT_QPA_PLATFORM="" \
    "$game" >"$work/out" 2>"$work/err"
  status=$?
  check "no display '$display': exit status" 1 "$status"
  check "no display '$display': one line on standard error" 1 "$(wc -l <"$work/err")"
  check "no display '$display': the line says why" yes \
    "$(grep -q '^wirbelbox: cannot open the game window: ' "$work/err" && echo yes || echo no)"
  check "no display '$display': nothing on standard output" "" "$(cat "$work/out")"
done
finish
