#!/usr/bin/env bash
# Builds the Debian package and checks it; as root it also installs it, starts the installed
# game in a real X server and removes it again.
# Usage: package.sh BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/lib.sh"
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$out"/*.deb)
id=io.github.wirbelbox.wirbelbox
files=$(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ {print $6}' | sed 's/^\.//' | sort)
expected="/usr/bin/wirbelbox
/usr/share/applications/$id.desktop
/usr/share/icons/hicolor/128x128/apps/$id.png
/usr/share/icons/hicolor/256x256/apps/$id.png
/usr/share/icons/hicolor/32x32/apps/$id.png
/usr/share/icons/hicolor/64x64/apps/$id.png
/usr/share/man/man6/wirbelbox.6.gz
/usr/share/metainfo/$id.metainfo.xml"
check "package files" "$expected" "$files"

check "package name" wirbelbox "$(dpkg-deb -f "$deb" Package)"
version=$(sed -n 's/^project(wirbelbox VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
check "package version" "$version" "$(dpkg-deb -f "$deb" Version)"
check "section" games "$(dpkg-deb -f "$deb" Section)"
check "maintainer filled in" yes "$([[ -n "$(dpkg-deb -f "$deb" Maintainer)" ]] && echo yes || echo no)"
check "description filled in" yes "$(dpkg-deb -f "$deb" Description | grep -q 'dexterity' && echo yes || echo no)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libsdl2-2.0-0 qt6-qpa-plugins; do
  check "depends on $library" yes "$(grep -q "\b$library\b" <<<"$depends" && echo yes || echo no)"
done

if [[ $(id -u) -ne 0 ]]; then
  echo "not root: installing the package is left out"
elif dpkg-query -W wirbelbox >/dev/null 2>&1; then
  echo "wirbelbox is installed on this machine already: installing the package is left out"
else
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$out/apt.log" 2>&1
  check "package installs" installed "$(dpkg-query -W -f='${db:Status-Status}' wirbelbox 2>/dev/null)" 
  check "installed game opens its window" yes "$("$here/../e2e/run-in-x.sh" "$here/installed-window.sh" 2>/dev/null | tail -n 1)"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq wirbelbox >>"$out/apt.log" 2>&1
  left=$(while read -r file; do [[ -e "$file" ]] && echo "$file"; done <<<"$(sed 's/\.gz$//' <<<"$files"; echo "$files")")
  check "removal leaves none of its files" "" "$left"
fi
finish
