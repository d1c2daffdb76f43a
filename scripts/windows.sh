#!/usr/bin/env bash
# Cross-builds the Windows program with MinGW-w64 (installing what it needs), its installer
# build/windows/wirbelbox-<version>-windows-x64.msi, and packs the players' ZIP beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh windows
cmake --preset windows >/dev/null
cmake --build --preset windows
version=$(sed -n 's/^project(wirbelbox VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
scripts/archive.py zip "build/windows/wirbelbox-$version-windows-x64.zip" build/windows/app/wirbelbox.exe COPYING
ls build/windows/wirbelbox-*-windows-x64.{msi,zip}
