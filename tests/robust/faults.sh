#!/usr/bin/env bash
# Faults a player or the desktop can cause: signals, no sound device, a sound server that never
# answers, a huge argument. The game must start, play on, and end cleanly.
# Usage: faults.sh GAME SILENT_SERVER
set -uo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
game=$1
silent_server=$2
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work"
pid=""
trap 'kill "$pid" "$server" 2>/dev/null; rm -rf "$work"' EXIT

# Starts the game; sets pid, the window's client origin cx, cy, and started (yes or no).
start() {
  "$game" "$@" >"$work/out.log" 2>&1 &
  pid=$!
  id=$(game_window)
  started=no
  if [[ -n "$id" ]]; then
    started=yes
    read -r cx cy < <(client_origin "$id")
  fi
}

stop() {
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

# Waits up to five seconds for the game to end; prints its exit status, or "running".
ended() {
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; echo $?; return; }
    sleep 0.1
  done
  echo running
}

for signal in TERM INT; do
  start
  check "starts (before SIG$signal)" yes "$started"
  kill -s "$signal" "$pid"
  status=$(ended)
  check "SIG$signal ends the game promptly" yes "$([[ "$status" != running ]] && echo yes || echo no)"
  check "SIG$signal leaves no core dump" no "$([[ "$status" == 134 || "$status" == 139 ]] && echo yes || echo no)"
done
start
check "starts after the signals" yes "$started"
stop

start "$(head -c 100000 /dev/zero | tr '\0' x)"
check "starts with a 100 kB argument" yes "$started"
stop

# Drags the block onto the field's top edge and back; prints the colours seen.
edge_and_back() {
  xdotool mousemove $((cx + 207)) $((cy + 201)) mousedown 1
  xdotool mousemove $((cx + 207)) $((cy + 40))
  local at_edge back
  at_edge=$(wait_for_pixel $((cx + 207)) $((cy + 40)) 255,255,0)
  xdotool mousemove $((cx + 207)) $((cy + 201))
  back=$(wait_for_pixel $((cx + 207)) $((cy + 201)) 128,0,0)
  xdotool mouseup 1
  echo "$at_edge $back"
}

export SDL_AUDIODRIVER=no-such-driver
start
check "starts without a sound device" yes "$started"
check "plays on silently without a sound device" "255,255,0 128,0,0" "$(edge_and_back)"
stop

"$silent_server" "$work/pulse" &
server=$!
export SDL_AUDIODRIVER=pulseaudio PULSE_SERVER="unix:$work/pulse"
start
check "starts beside a sound server that never answers" yes "$started"
check "plays on silently beside it" "255,255,0 128,0,0" "$(edge_and_back)"
check "and again" "255,255,0 128,0,0" "$(edge_and_back)"
stop
finish
