#!/usr/bin/env bash
# Playing with the real mouse: drag, enemies moving while the button is held and frozen after
# the release, the alarm at the field's edge (played through SDL's disk driver to a file).
set -uo pipefail
source "$(dirname "$0")/lib.sh"
game=$1

work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw"
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

"$game" >"$work/out.log" 2>&1 &
pid=$!
id=$(game_window)
[[ -n "$id" ]] || { echo "FAIL: no window"; exit 1; }
read -r cx cy < <(client_origin "$id")
sleep 0.5

# Idle: nothing moves however long the window is open.
idle=$(client_picture "$cx" "$cy")
sleep 0.5
check "idle window stays still" "$idle" "$(client_picture "$cx" "$cy")"

# Presses the left button at one client point and, holding it, moves to another.
press_and_drag() {
  xdotool mousemove $((cx + $1)) $((cy + $2))
  sleep 0.2
  xdotool mousedown 1
  xdotool mousemove $((cx + $3)) $((cy + $4))
}

# Press on the player block and drag it 10 pixels to the right.
press_and_drag 200 200 210 200
check "block follows the pointer (new right edge)" "128,0,0" "$(wait_for_pixel $((cx + 236)) $((cy + 200)) 128,0,0)"
check "block follows the pointer (old left edge)" "255,255,255" "$(wait_for_pixel $((cx + 190)) $((cy + 200)) 255,255,255)"
# Enemy 0 heads down and right while the button is held: its first corner is soon field again.
check "enemies move while the button is held" "255,255,255" "$(wait_for_pixel $((cx + 47)) $((cy + 39)) 255,255,255)"
moving=$(client_picture "$cx" "$cy")
sleep 0.3
check "still moving" yes "$([[ "$moving" != "$(client_picture "$cx" "$cy")" ]] && echo yes || echo no)"

# Release: everything freezes.
xdotool mouseup 1
sleep 0.3
frozen=$(client_picture "$cx" "$cy")
sleep 0.5
check "released: the scene is frozen" "$frozen" "$(client_picture "$cx" "$cy")"

# Drag the block onto the field's top edge: it turns yellow and the alarm sounds.
press_and_drag 215 200 215 40
check "block at the edge turns yellow" "255,255,0" "$(wait_for_pixel $((cx + 215)) $((cy + 40)) 255,255,0)"
xdotool mouseup 1
sleep 0.5
sound_bytes=$(tr -d '\0' <"$work/audio.raw" 2>/dev/null | wc -c)
check "the alarm was played" yes "$([[ "$sound_bytes" -gt 1000 ]] && echo yes || echo no)"
check "the game still runs" yes "$(kill -0 "$pid" 2>/dev/null && echo yes || echo no)"

finish
