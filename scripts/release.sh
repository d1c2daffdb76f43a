#!/usr/bin/env bash
# Builds everything players download into build/dist/, with its SHA256SUMS: the Debian package and
# its debug symbols for this machine and for arm64, the Windows installer and ZIP, and the web page's folder as a .tar.gz. Every
# file is the same bit for bit from any build of the same commit: time stamps come from
# SOURCE_DATE_EPOCH, by default the last commit's time (or the changelog's, outside git).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh release
if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || dpkg-parsechangelog -STimestamp)
fi
export SOURCE_DATE_EPOCH
version=$(dpkg-parsechangelog -SVersion)

scripts/package.sh
scripts/package.sh --host-arch arm64
cmake --preset windows >/dev/null
rm -f build/windows/*.msi  # dated SOURCE_DATE_EPOCH: made anew
cmake --build --preset windows --target msi
cmake --preset web >/dev/null
cmake --build --preset web --target page

dist=build/dist
rm -rf "$dist"
mkdir -p "$dist"
cp build/package/*.deb build/package-arm64/*.deb "build/windows/wirbelbox-$version-windows-x64.msi" "$dist"
scripts/archive.py zip "$dist/wirbelbox-$version-windows-x64.zip" build/windows/app/wirbelbox.exe COPYING
scripts/archive.py tgz "$dist/wirbelbox-$version-web.tar.gz" build/web/page "wirbelbox-$version-web"
(cd "$dist" && sha256sum -- * >SHA256SUMS)
cat "$dist/SHA256SUMS"
