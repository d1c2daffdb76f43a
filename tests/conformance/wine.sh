#!/usr/bin/env bash
# Runs a Windows test program under Wine in a private X server, Wine prefix and PulseAudio server
# (a null sink, reached through Wine's ALSA driver and ALSA's PulseAudio plugin), so that sounds
# play in real time as on a machine with a sound card.
# Usage: wine.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
work=$(mktemp -d)
export HOME="$work" XDG_RUNTIME_DIR="$work/run" WINEPREFIX="$work/wine" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=" PULSE_SERVER="unix:$work/run/pulse/native"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pulseaudio --daemonize=no --exit-idle-time=-1 -n -L "module-null-sink sink_name=wirbelbox" \
  -L module-native-protocol-unix >/dev/null 2>&1 &
server=$!
trap 'wineserver -k 2>/dev/null; kill $server 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' >"$HOME/.asoundrc"
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" bash -c '
  wineboot -i >/dev/null 2>&1
  wine reg add "HKCU\\Software\\Wine\\Drivers" /v Audio /d alsa /f >/dev/null 2>&1
  wine "$@"' wine "$@"
