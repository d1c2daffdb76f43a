#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what lands there, as a packager would.
# Usage: install.sh BUILD_DIR
set -uo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

DESTDIR="$dest" cmake --install "$build" --prefix /opt/wb >/dev/null || { echo "FAIL: install"; exit 1; }
id=io.github.wirbelbox.wirbelbox
expected="/opt/wb/bin/wirbelbox
/opt/wb/share/applications/$id.desktop
/opt/wb/share/icons/hicolor/128x128/apps/$id.png
/opt/wb/share/icons/hicolor/256x256/apps/$id.png
/opt/wb/share/icons/hicolor/32x32/apps/$id.png
/opt/wb/share/icons/hicolor/64x64/apps/$id.png
/opt/wb/share/man/man6/wirbelbox.6.gz
/opt/wb/share/metainfo/$id.metainfo.xml"
check "installed files" "$expected" "$(cd "$dest" && find . -type f -o -type l | sed 's/^\.//' | sort)"

check "desktop entry is valid" "" "$(desktop-file-validate "$dest/opt/wb/share/applications/$id.desktop" 2>&1)"
entry=$(cat "$dest/opt/wb/share/applications/$id.desktop")
check "desktop entry runs the game without options" "Exec=wirbelbox" "$(grep '^Exec=' <<<"$entry")"
check "desktop entry's icon is the application id" "Icon=$id" "$(grep '^Icon=' <<<"$entry")"
check "desktop entry is a game" yes "$(grep -qE '^Categories=.*Game;.*ArcadeGame;' <<<"$entry" && echo yes || echo no)"

metainfo="$dest/opt/wb/share/metainfo/$id.metainfo.xml"
check "metainfo is valid" 0 "$(appstreamcli validate --no-net --pedantic "$metainfo" >/dev/null 2>&1; echo $?)"
version=$(sed -n 's/^project(wirbelbox VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
check "metainfo names this release" yes "$(grep -q "<release version=\"$version\"" "$metainfo" && echo yes || echo no)"
check "metainfo launches the desktop entry" yes "$(grep -q "<launchable type=\"desktop-id\">$id.desktop<" "$metainfo" && echo yes || echo no)"

for size in 32 64 128 256; do
  check "icon ${size}x$size" "PNG image data, $size x $size" \
    "$(file -b "$dest/opt/wb/share/icons/hicolor/${size}x$size/apps/$id.png" | cut -d, -f1-2)"
done
man=$(zcat "$dest/opt/wb/share/man/man6/wirbelbox.6.gz")
check "man page renders cleanly" "" "$(groff -man -Tutf8 -ww -z <<<"$man" 2>&1)"
check "man page is in section 6" yes "$(grep -q '^\.TH WIRBELBOX 6' <<<"$man" && echo yes || echo no)"
check "installed program knows its version" yes "$(grep -aq "$version" "$dest/opt/wb/bin/wirbelbox" && echo yes || echo no)"
finish
