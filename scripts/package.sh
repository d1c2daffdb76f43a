#!/usr/bin/env bash
# Builds the Debian package as Debian builds them, from debian/: build/package/ then holds
# wirbelbox_VERSION_ARCH.deb, its debug symbols (wirbelbox-dbgsym_…) and the .changes and
# .buildinfo. Install it with: sudo apt-get install ./build/package/wirbelbox_*_*.deb
# Usage: scripts/package.sh [--host-arch ARCH]   (ARCH: another of Debian's architectures, cross-built
#   with its cross compiler and its multiarch libraries into build/package-ARCH/; arm64 is set up
#   by scripts/deps.sh arm64)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package
out=build/package options=()
if [[ "${1:-}" == --host-arch ]]; then
  out=build/package-$2 options=(--host-arch "$2" -Pcross,nocheck)
  [[ "$2" == arm64 ]] && scripts/deps.sh arm64
fi
# dpkg-buildpackage writes beside the source tree: build in a copy of it under build/.
rm -rf "$out"
mkdir -p "$out/source"
git ls-files -z 2>/dev/null | xargs -0 cp --parents -t "$out/source" 2>/dev/null ||
  tar -c --exclude=./build --exclude=./.git . | tar -x -C "$out/source"
(cd "$out/source" && dpkg-buildpackage -us -uc -b "${options[@]}")
rm -rf "$out/source"
ls "$out"/*.deb
