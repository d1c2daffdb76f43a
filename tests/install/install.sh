#!/usr/bin/env bash
# Checks the release's Debian package as a packager would: its files, valid desktop files, icons
# and manual page, its fields, lintian, hardening. As root it also installs the package, plays its
# smoke checks and purges it again. Then the Windows resources and the players' ZIP.
# Usage: install.sh SOURCE_DIR BUILD_DIR DIST_DIR   (DIST_DIR: what scripts/release.sh made)
set -uo pipefail
src=$1 build=$2 dist=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/check.sh"
id=io.github.wirbelbox.wirbelbox
version=$(sed -n 's/^project(wirbelbox VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
arch=$(dpkg --print-architecture)
deb=$dist/wirbelbox_${version}_$arch.deb dbgsym=$dist/wirbelbox-dbgsym_${version}_$arch.deb
dpkg-deb -x "$deb" "$work/deb"
dpkg-deb -x "$dbgsym" "$work/dbgsym"
# What the package installs, as a packager checks it.
share="$work/deb/usr/share"
check "package files" "$(printf '%s\n' /usr/games/wirbelbox "/usr/share/applications/$id.desktop" \
  /usr/share/doc/wirbelbox/{changelog.gz,copyright} /usr/share/icons/hicolor/{128x128,256x256,32x32,64x64}/apps/$id.png \
  /usr/share/man/man6/wirbelbox.6.gz "/usr/share/metainfo/$id.metainfo.xml")" \
  "$(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ {print $6}' | sed 's/^\.//' | sort)"
desktop=$share/applications/$id.desktop
check "desktop entry: valid; command where Debian keeps games, icon, category" \
  "Exec=/usr/games/wirbelbox Icon=$id yes" "$(desktop-file-validate "$desktop" 2>&1)$(grep -E \
  '^(Exec|Icon)=' "$desktop" | xargs) $(yes_if grep -qE '^Categories=.*Game;.*ArcadeGame;' "$desktop")"
metainfo="$share/metainfo/$id.metainfo.xml"
check "metainfo: valid, names this release, launches the entry" "0 yes yes" \
  "$(appstreamcli validate --no-net --pedantic "$metainfo" >/dev/null 2>&1; echo $?) $(yes_if grep -q "<release version=\"$version\"" "$metainfo") $(yes_if grep -q "<launchable type=\"desktop-id\">$id.desktop<" "$metainfo")"
for size in 32 64 128 256; do
  icon=$share/icons/hicolor/${size}x$size/apps/$id.png
  convert "$src/resources/wirbelbox.xpm" -scale "${size}x$size" "$work/design.png"
  check "icon ${size}x$size: the design enlarged pixel for pixel" "PNG image data, $size x $size 0" \
    "$(file -b "$icon" | cut -d, -f1-2) $(compare -metric AE "$icon" "$work/design.png" null: 2>&1)"
done
check "package name, version, section, maintainer, description" "wirbelbox $version games yes yes" \
  "$(dpkg-deb -f "$deb" Package Version Section | cut -d' ' -f2 | xargs) $(yes_if [ -n "$(dpkg-deb -f "$deb" \
  Maintainer)" ]) $(yes_if grep -q dexterity < <(dpkg-deb -f "$deb" Description))"
check "depends on the libraries it loads" "libc6 libpulse0 libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 qt6-qpa-plugins" \
  "$(dpkg-deb -f "$deb" Depends | grep -oE '\b(libc6|libstdc\+\+6|libqt6(core|gui|widgets)6|libpulse0|qt6-qpa-plugins)\b' | LC_ALL=C sort -u | xargs)"
# (lintian also renders the manual page, and checks its section against its folder's.)
check "lintian finds nothing, pedantic and informational tags included" "" \
  "$(lintian --pedantic --display-info "$deb" "$dbgsym" 2>&1 | grep -v 'running with root')"
# hardening-check cannot see stack clash protection in a program with no large stack frame: the
# compiler's switches recorded in the debug symbols show it.
check "hardened program" "$(printf '%s: yes\n' 'Position Independent Executable' 'Stack protected' 'Fortify Source functions' 'Read-only relocations' 'Immediate binding' 'Control flow integrity')
-fstack-clash-protection" \
  "$(hardening-check "$work/deb/usr/games/wirbelbox" | sed -n 's/^ \([^:]*: yes\).*/\1/p')
$(readelf --debug-dump=info "$(find "$work/dbgsym" -name '*.debug')" 2>/dev/null | grep -m1 -o -- -fstack-clash-protection)"
if [[ $(id -u) -ne 0 ]] || dpkg-query -W wirbelbox >/dev/null 2>&1; then
  echo "not root, or wirbelbox installed already: installing the package is left out"
else
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1
  check "package installs" installed "$(dpkg-query -W -f='${db:Status-Status}' wirbelbox 2>/dev/null)"
  (cd "$src" && debian/tests/smoke) | tail -n 1 | sed 's/^/installed game: /'
  check "installed game passes the package's smoke checks" 0 "${PIPESTATUS[0]}"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq wirbelbox >>"$work/apt.log" 2>&1
  check "removal leaves none of its files or folders" "" "$(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ {print $6}' | sed 's/^\.//' | while read -r f; do
    [[ -e "$f" ]] && echo "$f"; done; [[ -e /usr/share/doc/wirbelbox ]] && echo /usr/share/doc/wirbelbox)"
fi

# The arm64 package: the same files and libraries, lintian-clean, and its program plays on (Qt
# offscreen, no sound server) under qemu until stopped.
arm=$dist/wirbelbox_${version}_arm64.deb
check "arm64: the same files, an arm64 program, its libraries, lintian finds nothing" \
  "$(dpkg-deb -c "$deb" | awk '{print $6}') ARM aarch64 $(dpkg-deb -f "$deb" Depends | sed 's/([^)]*)//g')" \
  "$(dpkg-deb -c "$arm" | awk '{print $6}') $(dpkg-deb --fsys-tarfile "$arm" | tar -xO ./usr/games/wirbelbox |
    file -b - | cut -d, -f2 | xargs) $(dpkg-deb -f "$arm" Depends | sed 's/([^)]*)//g')$(lintian --pedantic \
    --display-info "$arm" "${arm/wirbelbox_/wirbelbox-dbgsym_}" 2>&1 | grep -v 'running with root')"
dpkg-deb -x "$arm" "$work/arm64"
QT_QPA_PLATFORM=offscreen PULSE_SERVER=unix:/nonexistent timeout 5 qemu-aarch64-static -L / \
  "$work/arm64/usr/games/wirbelbox" >"$work/arm64.log" 2>&1
check "arm64: the program starts and plays on until stopped, silently" "124 " "$? $(cat "$work/arm64.log")"

check "Windows icon" "MS Windows icon resource - 5 icons" "$(file -b "$build/resources/wirbelbox.ico" | cut -d, -f1)"
# The Windows resource script, compiled and read back.
x86_64-w64-mingw32-windres -I "$build/resources" "$build/resources/wirbelbox.rc" -O coff -o "$work/res.o" &&
  x86_64-w64-mingw32-windres -i "$work/res.o" -O rc -o "$work/decompiled.rc" 2>/dev/null
check "resources: the two sounds, version information, the icon, in language 1033" \
  '"ALARM" "WAVE" "BUZZ" "WAVE" "ProductName", "Wirbelbox "WIRBELBOX" 14 LANGUAGE 9, 1' \
  "$(tr -d '\r' <"$work/decompiled.rc" | grep -oE '"(ALARM|BUZZ)" "WAVE"|"WIRBELBOX" 14|LANGUAGE 9, 1|"ProductName", "Wirbelbox' |
    LC_ALL=C sort -u | paste -sd' ')"
zip=$dist/wirbelbox-$version-windows-x64.zip
check "the players' ZIP holds the program and its licence" "COPYING wirbelbox.exe" \
  "$(unzip -Z1 "$zip" | sort | xargs)"
unzip -q "$zip" -d "$work/zip"
exe="$work/zip/wirbelbox.exe"
check "the program has a stack protector" yes "$(yes_if grep -aq 'stack smashing detected' "$exe")"
check "the program imports only Windows' own libraries" "ADVAPI32.dll GDI32.dll KERNEL32.dll USER32.dll msvcrt.dll" \
  "$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print $3}' | LC_ALL=C sort | xargs)"
check "the program is a stripped windowed program under 1.5 MB" "yes yes yes" \
  "$(yes_if [ "$(stat -c %s "$exe")" -lt 1572864 ]) $(yes_if grep -q 'Subsystem.*(Windows GUI)' < <(x86_64-w64-mingw32-objdump -p "$exe")) $(yes_if [ -z "$(x86_64-w64-mingw32-objdump -h "$exe" | grep debug)" ])"
finish
