#!/usr/bin/env bash
# The game window as a player meets it: opened, looked at, started twice, closed.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
game=$1

work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

cd "$work"
listing() { find "$work" -not -path "$work/runtime*" -not -name out.log | sort; }
before=$(listing)
"$game" >"$work/out.log" 2>&1 &
pid=$!
id=$(game_window)
check "window appears" yes "$([[ -n "$id" ]] && echo yes || echo no)"
[[ -n "$id" ]] || { finish; exit 1; }
sleep 0.5

check "title" "Wirbelbox" "$(xdotool getwindowname "$id")"
check "client size" "425x432" "$(xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')"

# JWM reports its frame; the frame's corner is where the game placed the window.
read -r left right top _ < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r cx cy < <(client_origin "$id")
check "window left (centred)" 300 "$((cx - left))"
check "window top (upper 85 % centred)" 110 "$((cy - top))"

actions=$(xprop -id "$id" _NET_WM_ALLOWED_ACTIONS)
for allowed in CLOSE MOVE; do
  check "action $allowed allowed" yes "$(grep -q "_NET_WM_ACTION_$allowed" <<<"$actions" && echo yes || echo no)"
done
for refused in RESIZE MAXIMIZE_HORZ MAXIMIZE_VERT MINIMIZE FULLSCREEN; do
  check "action $refused refused" no "$(grep -q "_NET_WM_ACTION_$refused\b" <<<"$actions" && echo yes || echo no)"
done
check "icon 32 x 32" yes "$(xprop -id "$id" _NET_WM_ICON | grep -q 'Icon (32 x 32)' && echo yes || echo no)"

# Colours of the background, the field, the player block and each enemy.
while read -r x y colour what; do
  check "$what at $x,$y" "$colour" "$(pixel $((cx + x)) $((cy + y)))"
done <<'POINTS'
5 5 0,0,0 background
420 428 0,0,0 background
33 392 255,255,255 field
392 33 255,255,255 field
200 200 128,0,0 player
227 221 128,0,0 player
60 60 0,0,128 enemy0
300 40 0,0,128 enemy1
50 350 0,0,128 enemy2
380 320 0,0,128 enemy3
POINTS

# A second start ends silently, without a window, and leaves the first one alone.
second_rc=0
second_out=$(timeout 10 "$game" 2>&1) || second_rc=$?
check "second start exits 0" 0 "$second_rc"
check "second start is silent" "" "$second_out"
check "still one window" 1 "$(visible_windows)"
check "first instance still runs" yes "$(kill -0 "$pid" 2>/dev/null && echo yes || echo no)"

# Closing the window ends the program and leaves nothing on disk.
xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
xdotool key --clearmodifiers alt+F4
rc=0
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then rc=running; else wait "$pid"; rc=$?; fi
check "closing ends the program" 0 "$rc"
check "nothing written in the working folder" "$before" "$(listing)"

# A lock left by a killed instance does not block the next start.
"$game" >/dev/null 2>&1 &
pid=$!
id=$(game_window)
kill -9 "$pid"; wait "$pid" 2>/dev/null
"$game" >/dev/null 2>&1 &
pid=$!
check "starts after a killed instance" yes "$([[ -n "$(game_window)" ]] && echo yes || echo no)"
kill "$pid"; wait "$pid" 2>/dev/null

# Odd command lines are kept, never interpreted: the window opens every time.
for args in "--help" "a  b \"quoted\"" $'\xff\xfe' "-platform nonsense"; do
  # shellcheck disable=SC2086
  "$game" $args >/dev/null 2>&1 &
  pid=$!
  check "starts with arguments: $args" yes "$([[ -n "$(game_window)" ]] && echo yes || echo no)"
  kill "$pid"; wait "$pid" 2>/dev/null
done

# An unusable runtime folder must not keep the player from playing.
XDG_RUNTIME_DIR="$work/does-not-exist" "$game" >/dev/null 2>&1 &
pid=$!
check "starts without a usable lock folder" yes "$([[ -n "$(game_window)" ]] && echo yes || echo no)"
kill "$pid"; wait "$pid" 2>/dev/null

finish
