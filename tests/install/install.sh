#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and builds the Debian package, and checks both as a
# packager would: the same file list, valid desktop files. As root it also installs the package,
# plays the installed game's window checks and removes it again. Then the Windows resources and
# the Windows players' ZIP.
# Usage: install.sh SOURCE_DIR BUILD_DIR WINDOWS_BUILD_DIR
set -uo pipefail
src=$1 build=$2 windows=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../e2e/check.sh"
id=io.github.wirbelbox.wirbelbox
version=$(sed -n 's/^project(wirbelbox VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
files() {  # the files a prefix must hold
  printf '%s\n' "$1/bin/wirbelbox" "$1/share/applications/$id.desktop" \
    "$1"/share/icons/hicolor/{128x128,256x256,32x32,64x64}/apps/$id.png \
    "$1/share/man/man6/wirbelbox.6.gz" "$1/share/metainfo/$id.metainfo.xml"
}

dest="$work/dest"
DESTDIR="$dest" cmake --install "$build" --prefix /opt/wb >/dev/null || check "install" 0 $?
check "installed files" "$(files /opt/wb)" "$(cd "$dest" && find . -type f -o -type l | sed 's/^\.//' | sort)"
share="$dest/opt/wb/share"
desktop=$share/applications/$id.desktop
check "desktop entry: valid; command, icon, category" "Exec=wirbelbox Icon=$id yes" \
  "$(desktop-file-validate "$desktop" 2>&1)$(grep -E '^(Exec|Icon)=' "$desktop" | xargs) $(yes_if grep -qE '^Categories=.*Game;.*ArcadeGame;' "$desktop")"
metainfo="$share/metainfo/$id.metainfo.xml"
check "metainfo: valid, names this release, launches the entry" "0 yes yes" \
  "$(appstreamcli validate --no-net --pedantic "$metainfo" >/dev/null 2>&1; echo $?) $(yes_if grep -q "<release version=\"$version\"" "$metainfo") $(yes_if grep -q "<launchable type=\"desktop-id\">$id.desktop<" "$metainfo")"
for size in 32 64 128 256; do
  icon=$share/icons/hicolor/${size}x$size/apps/$id.png
  convert "$src/resources/wirbelbox.xpm" -scale "${size}x$size" "$work/design.png"
  check "icon ${size}x$size: the design enlarged pixel for pixel" "PNG image data, $size x $size 0" \
    "$(file -b "$icon" | cut -d, -f1-2) $(compare -metric AE "$icon" "$work/design.png" null: 2>&1)"
done
man=$(zcat "$share/man/man6/wirbelbox.6.gz")
check "man page in section 6 renders cleanly" "yes " \
  "$(yes_if grep -q '^\.TH WIRBELBOX 6' <<<"$man") $(groff -man -Tutf8 -ww -z <<<"$man" 2>&1)"
check "installed program knows its version" yes "$(yes_if grep -aq "$version" "$dest/opt/wb/bin/wirbelbox")"

(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) || cat "$work/cpack.log"
deb=$(ls "$work"/deb/*.deb)
check "package files" "$(files /usr)" "$(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ {print $6}' | sed 's/^\.//' | sort)"
check "package name, version, section, maintainer, description" "wirbelbox $version games yes yes" \
  "$(dpkg-deb -f "$deb" Package Version Section | cut -d' ' -f2 | xargs) $(yes_if [ -n "$(dpkg-deb -f "$deb" Maintainer)" ]) $(yes_if grep -q dexterity < <(dpkg-deb -f "$deb" Description))"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libpulse0 qt6-qpa-plugins; do
  check "depends on $library" yes "$(yes_if grep -q "\b$library\b" <<<"$depends")"
done
if [[ $(id -u) -ne 0 ]] || dpkg-query -W wirbelbox >/dev/null 2>&1; then
  echo "not root, or wirbelbox installed already: installing the package is left out"
else
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1
  check "package installs" installed "$(dpkg-query -W -f='${db:Status-Status}' wirbelbox 2>/dev/null)"
  E2E_SECTIONS=window "$src/tests/e2e/game.sh" wirbelbox | tail -n 1 | sed 's/^/installed game: /'
  check "installed game passes the window checks" 0 "${PIPESTATUS[0]}"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq wirbelbox >>"$work/apt.log" 2>&1
  check "removal leaves none of its files" "" "$(files /usr | sed 's/\.gz$//' | while read -r f; do
    [[ -e "$f" || -e "$f.gz" ]] && echo "$f"; done)"
fi

check "Windows icon" "MS Windows icon resource - 5 icons" "$(file -b "$build/resources/wirbelbox.ico" | cut -d, -f1)"
# The Windows resource script: icon, the two sounds in language 1033, version information.
x86_64-w64-mingw32-windres -I "$build/resources" "$build/resources/wirbelbox.rc" -O coff -o "$work/res.o"
check "resource script compiles" 0 $?
x86_64-w64-mingw32-windres -i "$work/res.o" -O rc -o "$work/decompiled.rc" 2>/dev/null
decompiled=$(tr -d '\r' <"$work/decompiled.rc")
for resource in '"ALARM" "WAVE"' '"BUZZ" "WAVE"' '"WIRBELBOX" 14' 'LANGUAGE 9, 1' '"ProductName", "Wirbelbox'; do
  check "resource $resource" yes "$(yes_if grep -qF "$resource" <<<"$decompiled")"
done
[[ -n "$windows" ]] || { echo "no Windows build given: its ZIP is left out"; finish; exit; }
(cd "$windows" && cpack -B "$work/zip" >"$work/cpack.log" 2>&1) || cat "$work/cpack.log"
zip=$work/zip/wirbelbox-$version-windows-x64.zip
check "the players' ZIP holds the program and its licence" "COPYING wirbelbox.exe" \
  "$(unzip -Z1 "$zip" | sort | xargs)"
exe="$windows/app/wirbelbox.exe"
check "the program imports only Windows' own libraries" "GDI32.dll KERNEL32.dll USER32.dll msvcrt.dll" \
  "$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print $3}' | LC_ALL=C sort | xargs)"
check "the program is a stripped windowed program under 1.5 MB" "yes yes yes" \
  "$(yes_if [ "$(stat -c %s "$exe")" -lt 1572864 ]) $(yes_if grep -q 'Subsystem.*(Windows GUI)' < <(x86_64-w64-mingw32-objdump -p "$exe")) $(yes_if [ -z "$(x86_64-w64-mingw32-objdump -h "$exe" | grep debug)" ])"
finish
