#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need, skipping those present.
# Usage: scripts/deps.sh [build|test|bench|package|release|windows|web|arm64]   (all but windows, web
# and arm64 include build; test adds what the tests, the package and the Windows program and its
# tests under Wine need, bench what the measurements need, package Debian's packaging tools, release
# those and every home's build; windows, web and arm64 (the arm64 package) are those builds alone)
set -euo pipefail

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libpulse-dev libxcb1-dev)
bench_packages=(libbenchmark-dev libxdamage-dev libxtst-dev xvfb xauth wine wine64 chromium
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev pulseaudio
  pulseaudio-utils pipewire-pulse wireplumber dbus stress-ng)
# Building the Debian package as Debian does, and checking it as Debian checks it.
package_packages=(debhelper dpkg-dev git lintian devscripts)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool jwm x11-utils imagemagick
  desktop-file-utils appstream dpkg-dev file libxdamage-dev libxtst-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine wine64 unzip
  python3 python3-pytest python3-numpy pulseaudio pulseaudio-utils qt6-wayland emscripten chromium
  firefox-esr libwebkit2gtk-4.1-0 g++-aarch64-linux-gnu g++-s390x-linux-gnu g++-arm-linux-gnueabihf
  locales pipewire-pulse wireplumber dbus mutter gstreamer1.0-pipewire
  gstreamer1.0-plugins-base gir1.2-gstreamer-1.0 python3-gi gstreamer1.0-plugins-good libasound2-plugins "${package_packages[@]}" wixl msitools faketime reprotest diffoscope)

# The arm64 package's build: the cross compiler and the libraries for arm64 beside the build
# machine's (Debian's multiarch), and its program started under qemu.
arm64_packages=(crossbuild-essential-arm64 libpulse-dev:arm64 libxcb1-dev:arm64 qt6-base-dev:arm64
  pkgconf:arm64 qemu-user-static)

packages=("${build_packages[@]}")
windows_packages=(cmake ninja-build g++ qt6-base-dev g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wixl msitools faketime)
web_packages=(cmake ninja-build g++ qt6-base-dev emscripten python3)
case "${1:-build}" in
  test) packages+=("${test_packages[@]}" "${arm64_packages[@]}") ;;
  arm64) packages=("${arm64_packages[@]}") ;;
  windows) packages=("${windows_packages[@]}") ;;
  web) packages=("${web_packages[@]}") ;;
  bench) packages+=("${bench_packages[@]}") ;;
  package) packages+=("${package_packages[@]}") ;;
  release) packages+=("${package_packages[@]}" "${windows_packages[@]}" "${web_packages[@]}" "${arm64_packages[@]}") ;;
esac

missing=()
native=$(dpkg --print-architecture)
for package in "${packages[@]}"; do
  # (With other architectures added, a name alone may stand for several: this machine's counts.)
  [[ "$package" == *:* ]] && arch=${package#*:} || arch="$native|all"
  dpkg-query -W -f='${Architecture} ${db:Status-Status}\n' "${package%:*}" 2>/dev/null |
    grep -qE "^($arch) installed$" || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "These Debian packages are missing and there is no sudo: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/.*:\(.*\)/\1/p' | sort -u); do
  "${sudo[@]}" dpkg --add-architecture "$arch"  # (their libraries beside the build machine's)
done
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
