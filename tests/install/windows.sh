#!/usr/bin/env bash
# The Windows resources and the Windows-only runtime sources compile with MinGW-w64.
# Usage: windows.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
source=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check "resource script compiles" 0 \
  "$(x86_64-w64-mingw32-windres -I "$build/resources" "$build/resources/wirbelbox.rc" -O coff -o "$work/res.o" 2>&1; echo $?)"
x86_64-w64-mingw32-windres -i "$work/res.o" -O rc -o "$work/decompiled.rc" 2>/dev/null
decompiled=$(tr -d '\r' <"$work/decompiled.rc")
for resource in '"ALARM" "WAVE"' '"BUZZ" "WAVE"' '"WIRBELBOX" 14'; do
  check "resource $resource" yes "$(grep -qF "$resource" <<<"$decompiled" && echo yes || echo no)"
done
check "resources in language 1033 (9, 1)" yes "$(grep -q 'LANGUAGE 9, *1' <<<"$decompiled" && echo yes || echo no)"
check "product name" yes "$(grep -q 'VALUE "ProductName", "Wirbelbox' <<<"$decompiled" && echo yes || echo no)"
check "Windows path functions compile" 0 \
  "$(x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Wpedantic -Werror -I"$source" \
      -c "$source/platform/EnvironmentWindows.cpp" -o "$work/env.o" 2>&1; echo $?)"
finish
