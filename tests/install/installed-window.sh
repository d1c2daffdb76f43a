#!/usr/bin/env bash
# Starts the installed game by the name its desktop entry uses; prints yes when its window shows.
source "$(dirname "$0")/../e2e/lib.sh"
export XDG_RUNTIME_DIR=$(mktemp -d)
wirbelbox >/dev/null 2>&1 &
pid=$!
[[ -n "$(game_window)" ]] && found=yes || found=no
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
rm -rf "$XDG_RUNTIME_DIR"
echo "$found"
