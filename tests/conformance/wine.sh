#!/usr/bin/env bash
# Runs a Windows test program under Wine in a private X server and Wine prefix.
# Usage: wine.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
prefix=$(mktemp -d)
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null; rm -rf "$prefix"' EXIT
WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" xvfb-run --auto-servernum \
  --server-args="-screen 0 1024x768x24 -nolisten tcp" bash -c 'wineboot -i >/dev/null 2>&1; wine "$@"' wine "$@"
