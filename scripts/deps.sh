#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need, skipping those present.
# Usage: scripts/deps.sh [build|test|bench|package|release|windows|web]   (all but windows and web
# include build; test adds what the tests, the package and the Windows program and its tests under
# Wine need, bench what the measurements need, package Debian's packaging tools, release those and
# every home's build; windows and web are those builds alone)
set -euo pipefail

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libpulse-dev libxcb1-dev)
bench_packages=(libbenchmark-dev libxdamage-dev libxtst-dev xvfb xauth wine wine64 chromium
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev pulseaudio
  pulseaudio-utils pipewire-pulse wireplumber dbus sway stress-ng)
# Building the Debian package as Debian does, and checking it as Debian checks it.
package_packages=(debhelper dpkg-dev git lintian devscripts)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool jwm x11-utils imagemagick
  desktop-file-utils appstream dpkg-dev file groff-base libxdamage-dev libxtst-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine wine64 unzip
  python3 python3-pytest python3-numpy pulseaudio pulseaudio-utils qt6-wayland sway grim jq libwayland-dev emscripten chromium
  firefox-esr libwebkit2gtk-4.1-0 gstreamer1.0-plugins-good libasound2-plugins "${package_packages[@]}" wixl msitools faketime reprotest diffoscope)

packages=("${build_packages[@]}")
windows_packages=(cmake ninja-build g++ qt6-base-dev g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wixl msitools faketime)
web_packages=(cmake ninja-build g++ qt6-base-dev emscripten python3)
case "${1:-build}" in
  test) packages+=("${test_packages[@]}") ;;
  windows) packages=("${windows_packages[@]}") ;;
  web) packages=("${web_packages[@]}") ;;
  bench) packages+=("${bench_packages[@]}") ;;
  package) packages+=("${package_packages[@]}") ;;
  release) packages+=("${package_packages[@]}" "${windows_packages[@]}" "${web_packages[@]}") ;;
esac

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [[ "$status" == installed ]] || missing+=("$package")
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
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
