#!/usr/bin/env bash
# Builds a Release and turns it into a Debian package: build/package/wirbelbox_VERSION_ARCH.deb.
# Install it with: sudo apt-get install ./build/package/wirbelbox_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
for tool in dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null || scripts/deps.sh test
done
cmake --preset release >/dev/null
cmake --build --preset release
rm -rf build/package
(cd build/release && cpack -G DEB -B ../package)
ls build/package/*.deb
