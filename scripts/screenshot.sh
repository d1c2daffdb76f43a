#!/usr/bin/env bash
# Takes the README's screenshot of the running game, window frame included, in a private X
# server with the JWM window manager: docs/screenshot.png.
# Usage: scripts/screenshot.sh [GAME_BINARY]
set -euo pipefail
cd "$(dirname "$0")/.."
game=${1:-build/default/app/wirbelbox}
if [[ ! -x "$game" ]]; then
  scripts/deps.sh build
  cmake --preset default >/dev/null
  cmake --build --preset default
fi
scripts/deps.sh test
mkdir -p docs
cat >build/screenshot-inner.sh <<'INNER'
source tests/e2e/lib.sh
export XDG_RUNTIME_DIR=$(mktemp -d)
"$1" >/dev/null 2>&1 &
pid=$!
id=$(game_window)
[[ -n "$id" ]] || { echo "the game window did not appear" >&2; exit 1; }
# Start a run so the picture shows the blocks in play, then let go.
read -r cx cy < <(client_origin "$id")
xdotool mousemove $((cx + 207)) $((cy + 201)) mousedown 1
sleep 1.2
xdotool mousemove $((cx + 170)) $((cy + 240))
sleep 0.3
xdotool mouseup 1
sleep 0.3
read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
import -silent -window root -crop "$((425 + left + right))x$((432 + top + bottom))+$((cx - left))+$((cy - top))" \
  +repage docs/screenshot.png
kill "$pid"
INNER
tests/e2e/run-in-x.sh "$PWD/build/screenshot-inner.sh" "$game"
rm -f build/screenshot-inner.sh
echo "docs/screenshot.png"
