#!/usr/bin/env bash
# Takes the README's screenshot of the running game, window frame included, in a private X
# server with the JWM window manager: docs/screenshot.png.
# Usage: scripts/screenshot.sh [GAME_BINARY]
set -euo pipefail
cd "$(dirname "$0")/.."
game=${1:-build/default/app/wirbelbox}
scripts/deps.sh test
if [[ ! -x "$game" ]]; then
  cmake --preset default >/dev/null
  cmake --build --preset default
fi
mkdir -p docs build
cat >build/screenshot-inner.sh <<'INNER'
set -euo pipefail
export XDG_RUNTIME_DIR=$(mktemp -d)
jwm >/dev/null 2>&1 &
sleep 1
"$1" >/dev/null 2>&1 &
pid=$!
id=$(xdotool search --sync --onlyvisible --name '^Wirbelbox$' | head -n 1)
sleep 0.5
# The client area's corner on the screen.
X=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left X: *//p')
Y=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left Y: *//p')
# Start a run so the picture shows the blocks in play, then let go.
xdotool mousemove $((X + 207)) $((Y + 201)) mousedown 1
sleep 1.2
xdotool mousemove $((X + 170)) $((Y + 240))
sleep 0.3
xdotool mouseup 1
sleep 0.3
read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
import -silent -window root \
  -crop "$((425 + left + right))x$((432 + top + bottom))+$((X - left))+$((Y - top))" +repage \
  docs/screenshot.png
kill "$pid"
INNER
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" \
  bash build/screenshot-inner.sh "$game"
rm -f build/screenshot-inner.sh
echo "docs/screenshot.png"
