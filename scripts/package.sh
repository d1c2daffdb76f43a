#!/usr/bin/env bash
# Builds the Debian package as Debian builds them, from debian/: build/package/ then holds
# wirbelbox_VERSION_ARCH.deb, its debug symbols (wirbelbox-dbgsym_…) and the .changes and
# .buildinfo. Install it with: sudo apt-get install ./build/package/wirbelbox_*_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package
# dpkg-buildpackage writes beside the source tree: build in a copy of it under build/.
rm -rf build/package
mkdir -p build/package/source
git ls-files -z 2>/dev/null | xargs -0 cp --parents -t build/package/source 2>/dev/null ||
  tar -c --exclude=./build --exclude=./.git . | tar -x -C build/package/source
(cd build/package/source && dpkg-buildpackage -us -uc -b)
rm -rf build/package/source
ls build/package/*.deb
