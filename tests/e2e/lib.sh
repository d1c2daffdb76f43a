#!/usr/bin/env bash
# Helpers for the end-to-end tests: they drive the real program in a real X server.

failures=0
passes=0

check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [[ "$2" == "$3" ]]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAIL: $1: expected '$2', got '$3'"
  fi
}

finish() {
  echo "$passes passed, $failures failed"
  ((failures == 0))
}

# The visible game window's id, waiting up to ten seconds for it; empty if none appears.
game_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name '^Wirbelbox$' 2>/dev/null | head -n 1 || true)
    [[ -n "$id" ]] && break
    sleep 0.1
  done
  echo "$id"
}

visible_windows() {
  xdotool search --onlyvisible --name '^Wirbelbox$' 2>/dev/null | wc -l
}

# "r,g,b" of one screen pixel.
pixel() {
  import -silent -window root -crop "1x1+$1+$2" -depth 8 txt:- | tail -n 1 |
    sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}

# Absolute position of a window's client area: "x y".
client_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}

# Waits up to five seconds for a screen pixel to show "r,g,b"; prints what it last saw.
wait_for_pixel() {
  local seen=""
  for _ in $(seq 50); do
    seen=$(pixel "$1" "$2")
    [[ "$seen" == "$3" ]] && break
    sleep 0.1
  done
  echo "$seen"
}

# A checksum of the game window's client area as it is on screen now.
client_picture() {
  import -silent -window root -crop "425x432+$1+$2" -depth 8 rgb:- | md5sum | cut -d' ' -f1
}
