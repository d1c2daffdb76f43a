#!/usr/bin/env bash
# A bounded storm of input for a minute: random presses with several buttons, drags on and off
# the block, releases outside the window, speed-bar clicks. Built with ASan + UBSan, the game
# must survive it without a sanitizer report and with flat resident memory.
# Usage: soak.sh GAME [SECONDS]
set -uo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
game=$1
seconds=${2:-60}
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="detect_leaks=0:quarantine_size_mb=1:${ASAN_OPTIONS:-}"
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

"$game" >"$work/out.log" 2>"$work/err.log" &
pid=$!
id=$(game_window)
[[ -n "$id" ]] || { echo "FAIL: no window"; cat "$work/err.log"; exit 1; }
read -r cx cy < <(client_origin "$id")
rss() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null; }

RANDOM=20261206  # the same storm on every run
block_x=207 block_y=201  # the block's centre, tracked through the drags
start=$SECONDS
halfway_rss=""
actions=0
while ((SECONDS - start < seconds)) && kill -0 "$pid" 2>/dev/null; do
  if [[ -z "$halfway_rss" ]] && ((SECONDS - start >= seconds / 2)); then
    halfway_rss=$(rss)
  fi
  case $((RANDOM % 6)) in
    0 | 1)  # drag the block with the left button, wander (out of the window too), come back
      xdotool mousemove $((cx + block_x)) $((cy + block_y)) mousedown 1
      for _ in 1 2 3 4; do
        xdotool mousemove $((cx + RANDOM % 600 - 90)) $((cy + RANDOM % 600 - 90))
      done
      xdotool mousemove $((cx + block_x)) $((cy + block_y)) mouseup 1
      ;;
    2)  # left held, right pressed and released on the way, then back and let go
      xdotool mousemove $((cx + block_x)) $((cy + block_y)) mousedown 1
      xdotool mousemove $((cx + RANDOM % 425)) $((cy + RANDOM % 432)) mousedown 3
      xdotool mousemove $((cx + RANDOM % 425)) $((cy + RANDOM % 432)) mouseup 3
      xdotool mousemove $((cx + block_x)) $((cy + block_y)) mouseup 1
      ;;
    3)  # the right or middle button on the block, released outside the window
      button=$((RANDOM % 2 ? 3 : 2))
      xdotool mousemove $((cx + block_x)) $((cy + block_y)) mousedown "$button"
      xdotool mousemove $((cx + 500 + RANDOM % 100)) $((cy + RANDOM % 500)) mouseup "$button"
      ;;
    4)  # the speed bar: an arrow or the trough
      xdotool mousemove $((cx + 36 + (RANDOM % 3) * 175)) $((cy + 413)) click 1
      ;;
    5)  # presses anywhere else: enemies, field, background
      xdotool mousemove $((cx + RANDOM % 425)) $((cy + RANDOM % 432)) click $((RANDOM % 3 + 1))
      ;;
  esac
  actions=$((actions + 1))
done
final_rss=$(rss)
alive=$(kill -0 "$pid" 2>/dev/null && echo yes || echo no)
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null

echo "actions: $actions, resident memory: ${halfway_rss:-?} kB halfway, ${final_rss:-?} kB at the end"
check "the game survived the storm" yes "$alive"
check "no sanitizer report" "" "$(grep -E 'Sanitizer|runtime error' "$work/err.log" | head -n 5)"
growth=$(( ${final_rss:-0} - ${halfway_rss:-0} ))
check "resident memory stays flat (growth under 8 MB)" yes "$( ((growth < 8192)) && echo yes || echo no)"
finish
