#!/usr/bin/env bash
# Plays the real program on a private 1024 x 768 desktop with real input, screen grabs for the
# picture and a private PulseAudio server for the sound: an X server (Xvfb) under the JWM window
# manager driven by xdotool, or a headless sway driven by a virtual pointer (wayland/pointer.c,
# its path in E2E_POINTER) and grabbed by grim.
# Usage: game.sh [--home wayland] COMMAND...   (the command that starts the game: the Linux
#   program, wine with the Windows program, or a browser (chromium, firefox-esr or WebKitGTK's
#   MiniBrowser) with the web page's folder)
# E2E_SECTIONS picks sections (default: all of them for the home, xserver last);
# SOAK_SECONDS adds the input soak.
set -uo pipefail
home=""
[[ "${1:-}" == --home ]] && { home=$2; shift 2; }
game=("$@")
for i in "${!game[@]}"; do  # the window checks run in a folder of their own
  [[ -e "${game[$i]}" ]] && game[$i]=$(realpath "${game[$i]}")
done
[[ "$(basename "$1")" == wine* ]] && home=windows
[[ "$(basename "$1")" =~ ^(chromium|firefox-esr|MiniBrowser)$ ]] && home=page
home=${home:-linux}
# The sections each home plays; the X server's end comes last: nothing can run after it. What
# Windows leaves out, and why: sound (its faults are SDL's; Wine plays through its own drivers),
# nodisplay (Windows always has a desktop), desktop and pulse (the Linux desktop's window manager
# and sound server).
# The page, in a browser's window, plays the play section: the browser owns its window, its
# instances and its signals, and the page's own test (tests/web/page.mjs) checks what it shows.
# Under Wayland the surface section takes the window section's place (a client there learns
# nothing of its place on the screen, and the compositor decides it); the rest is the X11 home's.
declare -A homes=(
  [linux]="window play instances signals sound nodisplay desktop pulse xserver"
  [wayland]="surface play"
  [windows]="window play instances signals xserver"
  [page]="play"
)
sections=${E2E_SECTIONS:-${homes[$home]}}
[[ -n "${SOAK_SECONDS:-}" ]] && sections+=" soak"
# sway refuses to run as root: the Wayland home runs as nobody.
if [[ $home == wayland && $(id -u) == 0 ]]; then
  exec setpriv --reuid=nobody --regid=nogroup --clear-groups "$(realpath "$0")" --home wayland "${game[@]}"
fi
work=$(mktemp -d)
pid="" server="" recorder="" holder="" web="" wm="" xvfb="" compositor=""
title=""  # a browser may add its own name to the window's title
[[ $home == page ]] && title="( . .*)?"
trap 'kill -CONT $server 2>/dev/null; kill $pid $server $recorder $holder $web $wm $xvfb $compositor 2>/dev/null; rm -rf "$work" 2>/dev/null' EXIT
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work"
mkdir -m 700 "$XDG_RUNTIME_DIR"

here=$(dirname "$(realpath "$0")")
source "$here/check.sh"

start_wm() {
  jwm >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
}
stop_wm() {
  kill -9 "$wm"  # as when it crashes
  wait "$wm" 2>/dev/null
  sleep 0.5
}
if [[ $home == wayland ]]; then
  # One 1024 x 768 output, windows without borders; the pointer client keeps one virtual pointer
  # for the whole run.
  printf '%s\n' "output HEADLESS-1 resolution 1024x768 position 0 0" "default_border none" \
    "default_floating_border none" >"$work/sway.conf"
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
  compositor=$!
  for _ in $(seq 100); do [[ -S "$XDG_RUNTIME_DIR/wayland-1" ]] && break; sleep 0.1; done
  export WAYLAND_DISPLAY=wayland-1 QT_QPA_PLATFORM=wayland
  export SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null)
  coproc pointer { "$E2E_POINTER" 1024 768; }
else
  mkfifo "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 10 display <"$work/display" || { echo "FAIL: no X server"; exit 1; }
  export DISPLAY=":$display"
  start_wm
fi
# The pointer, in screen pixels: mouse move X Y | down B | up B | click B, in any sequence.
mouse() {
  local words=() lines=()
  while (($#)); do
    case $1 in
      move) words+=(mousemove "$2" "$3") lines+=("move $2 $3"); shift 3 ;;
      click) words+=(click "$2") lines+=("down $2" "up $2"); shift 2 ;;
      *) words+=("mouse$1" "$2") lines+=("$1 $2"); shift 2 ;;
    esac
  done
  if [[ $home == wayland ]]; then
    printf '%s\n' "${lines[@]}" >&"${pointer[1]}"
    for _ in "${lines[@]}"; do read -r -t 5 _ <&"${pointer[0]}"; done  # each line's "ok"
  else
    xdotool "${words[@]}"
  fi
}
# sway passes a new pointer's first press on to no one.
[[ $home == wayland ]] && mouse move 5 5 click 1
# The screen's pixels in GEOMETRY (WxH+X+Y), 8-bit RGB.
grab() {
  if [[ $home == wayland ]]; then
    grim -g "$(sed -E 's/([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)/\3,\4 \1x\2/' <<<"$1")" -t ppm - |
      convert ppm:- -depth 8 rgb:-
  else
    import -silent -window root -crop "$1" -depth 8 rgb:-
  fi
}

# A PulseAudio server of the test's own (in place of one that runs), with a null sink whose
# monitor the tests record.
start_pulse() {
  [[ -n "$server" ]] && { kill -CONT "$server"; kill "$server"; wait "$server"; } 2>/dev/null
  pulseaudio --daemonize=no --exit-idle-time=-1 -n -L "module-null-sink sink_name=wirbelbox" \
    -L module-native-protocol-unix >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
}
# Every home's sound goes to the test's PulseAudio server and is recorded from its null sink's
# monitor into $work/audio.raw (44.1 kHz, 16-bit mono). Wine reaches it through its ALSA driver
# and ALSA's PulseAudio plugin; a browser and SDL directly.
audio="$work/audio.raw"
start_pulse
export SDL_AUDIODRIVER=pulseaudio PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
if [[ $home == windows ]]; then
  # A device latency of Windows' order: with the plugin's default of two seconds, Wine holds a
  # synchronous sound until the whole buffer has drained.
  export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" PULSE_LATENCY_MSEC=30
  printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' >"$HOME/.asoundrc"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
elif [[ $home == page ]]; then
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  python3 -m http.server "$port" --bind 127.0.0.1 --directory "${game[1]}" >/dev/null 2>&1 &
  web=$!
  url="http://127.0.0.1:$port/"
  case "$(basename "${game[0]}")" in
    chromium) game=("${game[0]}" --app="$url" --test-type --no-first-run --no-sandbox --disable-gpu
      --disable-background-networking --disable-component-update --disable-sync
      --window-size=600,560 --window-position=0,0) ;;
    firefox-esr) game=("${game[0]}" --no-remote --kiosk "$url") ;;
    *) game=("${game[0]}" "$url") ;;
  esac
fi
# Records the server's sound into $audio afresh.
record() {
  kill "$recorder" 2>/dev/null
  wait "$recorder" 2>/dev/null
  parec -d wirbelbox.monitor --raw --format=s16le --rate=44100 --channels=1 >"$audio" 2>/dev/null &
  recorder=$!
}
# What the recording holds (tests/e2e/audio.py): audio pitches|unmixed|tones.
audio() { python3 "$here/audio.py" "$1" "$audio" 2>/dev/null; }
# yes once a pitch is heard, waiting up to five seconds (a sound device may be slow to start).
heard() {
  for _ in $(seq 50); do
    grep -qw "$1" <<<"$(audio pitches)" && break
    sleep 0.1
  done
  yes_if grep -qw "$1" <<<"$(audio pitches)"
}
# Held at the edge, every tick plays one alarm to its end: yes when the alarms that began and
# ended while watched played whole, 0.3 s unbroken, before the next began, and the scene moved
# on only between alarms. The watch starts once the first alarm has ended (a sound device may be
# slow to start, and falter at first) and lasts five alarms, some ten seconds at most. Two alarms
# back to back may join without a seam; Wine's route drops the last few tens of milliseconds (its
# latency) as it closes the device.
held_at_edge() {
  local tones=() first n changes=0 last now
  for _ in $(seq 50); do
    read -r -a tones <<<"$(audio tones)"
    ((${#tones[@]} >= 2)) && break
    sleep 0.1
  done
  first=${#tones[@]}
  last=$(picture)
  for _ in $(seq 30); do
    for _ in 1 2 3; do
      now=$(picture)
      [[ "$now" != "$last" ]] && changes=$((changes + 1)) last=$now
    done
    read -r -a tones <<<"$(audio tones)"
    ((${#tones[@]} >= first + 5)) && break
  done
  local verdict=yes
  ((first >= 2 && ${#tones[@]} >= first + 5 && changes <= ${#tones[@]} - first + 2)) || verdict=no
  for n in "${tones[@]:first:${#tones[@]}-first-1}"; do
    ((n >= 250 && (n + 50) % 300 <= 55)) || verdict=no
  done
  [[ $verdict == yes ]] && echo yes || echo "no: alarms of ${tones[*]} ms, $changes changes of the scene"
}

# Starts the game with extra arguments; sets pid, id (empty when no window showed within ten
# seconds) and the client area's screen origin cx, cy.
start() {
  # A browser gets a fresh profile each time; Firefox's without its first-run pages.
  if [[ $home == page ]]; then
    local profile
    profile=$(mktemp -d -p "$work")
    echo 'user_pref("browser.aboutwelcome.enabled", false); user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);' >"$profile/user.js"
    case "$(basename "${game[0]}")" in
      chromium) set -- --user-data-dir="$profile" "$@" ;;
      firefox-esr) set -- --profile "$profile" "$@" ;;
    esac
  fi
  "${game[@]}" "$@" >"$work/out.log" 2>"$work/err.log" &
  pid=$!
  id=""
  for _ in $(seq 100); do
    if [[ $home == wayland ]]; then
      id=$(view | cut -d ' ' -f 1)
    else
      id=$(xdotool search --onlyvisible --pid "$pid" --name "^Wirbelbox$title" 2>/dev/null | head -n 1)
    fi
    [[ -n "$id" ]] && break
    sleep 0.1
  done
  [[ -n "$id" ]] || { cx=0 cy=0; head -n 3 "$work/err.log"; }
  [[ -n "$id" ]] && locate
  sleep 0.3
}
# What sway shows of the game's window: "id x y width height floating|tiled app_id title", the
# surface's place and size in screen pixels.
view() {
  swaymsg -t get_tree 2>/dev/null | python3 -c 'import json, sys
def views(node, floating=False):
    yield node, floating
    for child in node.get("nodes", []):
        yield from views(child, floating)
    for child in node.get("floating_nodes", []):
        yield from views(child, True)
for node, floating in views(json.load(sys.stdin)):
    if node.get("pid") == int(sys.argv[1]):
        r, w = node["rect"], node["window_rect"]
        print(node["id"], r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"],
              "floating" if floating else "tiled", node["app_id"], node["name"])' "$pid"
}
# The client area's screen origin: cx, cy; in a browser window, the game's black form's.
locate() {
  [[ $home == wayland ]] && { read -r _ cx cy _ <<<"$(view)"; return; }
  read -r cx cy < <(xwininfo -id "$id" |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
  [[ $home == page ]] || return
  # The black pixels, eroded by 5 so that thin dark strokes of the browser's own go: the form
  # is what is left, 5 pixels smaller on every side.
  local form=""
  for _ in $(seq 100); do
    form=$(import -silent -window "$id" png:- | convert - -fill white +opaque black -negate \
      -morphology Erode Square:5 -trim -format '%w %h %[fx:page.x] %[fx:page.y]' info: 2>/dev/null)
    [[ "$form" == "415 422 "* ]] && break
    sleep 0.1
  done
  read -r _ _ fx fy <<<"$form"
  cx=$((cx + fx - 5)) cy=$((cy + fy - 5))
}
# Where the game places a window of this outer size on the 1024 x 768 screen, "left top" in
# pixels: the load handler's arithmetic in twips, then the nearest pixel.
placement() {  # placement OUTER_WIDTH OUTER_HEIGHT
  local left=$((7680 - $1 * 15 / 2)) top=$((4896 - $2 * 15 / 2))
  echo "$(((2 * (left > 0 ? left : 0) + 15) / 30)) $(((2 * (top > 0 ? top : 0) + 15) / 30))"
}
# yes when two "x y" points are at most one pixel apart.
near() {
  read -r ax ay <<<"$1"
  read -r bx by <<<"$2"
  yes_if [ $(((ax - bx) * (ax - bx) <= 1 && (ay - by) * (ay - by) <= 1)) -eq 1 ]
}
started() { [[ -n "$id" ]] && echo yes || echo no; }
# Waits up to five seconds for the game to end; sets status to its exit status, or "running".
# (Not in a subshell: only this shell can collect its child's status.)
ended() {
  status=running
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; status=$?; return; }
    sleep 0.1
  done
}
stop() { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
windows() { xdotool search --onlyvisible --name '^Wirbelbox$' 2>/dev/null | wc -l; }
# "r,g,b" of a client pixel, and the same after waiting up to five seconds for a colour.
pixel() {
  grab "1x1+$((cx + $1))+$((cy + $2))" | od -An -tu1 | awk '{print $1 "," $2 "," $3}'
}
wait_pixel() {
  local seen
  for _ in $(seq 50); do
    seen=$(pixel "$1" "$2")
    [[ "$seen" == "$3" ]] && break
    sleep 0.1
  done
  echo "$seen"
}
picture() { grab "425x432+$cx+$cy" | md5sum; }
# Presses the left button at one client point and, holding it, moves to another.
drag() { mouse move $((cx + $1)) $((cy + $2)) down 1 move $((cx + $3)) $((cy + $4)); }
# Drags the block onto the field's top edge and back; prints the colours seen at both places
# (beside the pointer: a compositor may draw its cursor into the picture) and, between them,
# what a command given prints while the block is held at the edge.
edge_and_back() {
  drag 207 201 207 40
  local at_edge during="" back
  at_edge=$(wait_pixel 202 45 255,255,0)
  (($#)) && during=" $("$@")"
  mouse move $((cx + 207)) $((cy + 201))
  back=$(wait_pixel 202 205 128,0,0)
  mouse up 1
  echo "$at_edge$during $back"
}

section_window() {
  cd "$work"
  before=$(find "$work" -not -path "$work/runtime*" -not -name '*.log' | sort)
  start
  check "window appears" yes "$(started)"
  [[ -n "$id" ]] || return
  check "title" Wirbelbox "$(xdotool getwindowname "$id")"
  check "client size" 425x432 "$(xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')"
  # The outer frame's corner is where the game placed it by its outer size: Wine draws a
  # Windows frame of 3 pixels under a 19-pixel caption inside the window manager's; on Linux the
  # frame is the window manager's.
  read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  [[ $home == windows ]] && left=3 right=3 top=22 bottom=3
  check "window placed by its outer size ($(placement $((425 + left + right)) $((432 + top + bottom))))" yes \
    "$(near "$(placement $((425 + left + right)) $((432 + top + bottom)))" "$((cx - left)) $((cy - top))")"
  actions=$(xprop -id "$id" _NET_WM_ALLOWED_ACTIONS)
  for action in CLOSE MOVE RESIZE MAXIMIZE_HORZ MAXIMIZE_VERT MINIMIZE FULLSCREEN; do
    expected=$([[ $action == CLOSE || $action == MOVE ]] && echo yes || echo no)
    check "action $action allowed" "$expected" "$(yes_if grep -q "_NET_WM_ACTION_$action\b" <<<"$actions")"
  done
  check "icon 32 x 32" yes "$(yes_if grep -q 'Icon (32 x 32)' < <(xprop -id "$id" _NET_WM_ICON))"
  while read -r x y colour what; do
    check "$what at $x,$y" "$colour" "$(pixel "$x" "$y")"
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
  xdotool windowactivate --sync "$id" key --clearmodifiers alt+F4 >/dev/null 2>&1
  ended
  check "closing ends the program" 0 "$status"
  check "nothing written to the working folder" "$before" \
    "$(find "$work" -not -path "$work/runtime*" -not -name '*.log' | sort)"
}

# The window as a Wayland compositor meets it: its names in sway's tree, its fixed size in what
# the client asked (a minimum equal to its maximum: no resizing, no maximising), and closing.
section_surface() {
  WAYLAND_DEBUG=1 start
  check "window appears" yes "$(started)"
  [[ -n "$id" ]] || return
  read -r _ _ _ width height floating app_id name <<<"$(view)"
  check "title, application id" "Wirbelbox io.github.wirbelbox.wirbelbox" "$name $app_id"
  check "surface 425 x 432, floating as a fixed size asks" "425x432 floating" "${width}x$height $floating"
  check "minimum and maximum size asked: 425 x 432" "set_max_size(425, 432) set_min_size(425, 432)" \
    "$(grep -oE 'set_(min|max)_size\([^)]*\)' "$work/err.log" | sort -u | xargs -d '\n')"
  check "the picture" "0,0,0 255,255,255 128,0,0 0,0,128" "$(pixel 5 5) $(pixel 33 392) $(pixel 200 200) $(pixel 60 60)"
  swaymsg "[con_id=$id] kill" >/dev/null
  ended
  check "closing ends the program" 0 "$status"
}

section_play() {
  record
  start
  idle=$(picture)
  sleep 0.5
  check "idle window stays still" "$idle" "$(picture)"
  drag 200 200 210 200
  check "block follows the pointer (new right edge)" 128,0,0 "$(wait_pixel 236 200 128,0,0)"
  check "block follows the pointer (old left edge)" 255,255,255 "$(wait_pixel 190 200 255,255,255)"
  # Enemy 0 heads down and right while the button is held: its first corner is soon field.
  check "enemies move while the button is held" 255,255,255 "$(wait_pixel 47 39 255,255,255)"
  moving=$(picture)
  sleep 0.3
  check "enemies go on moving" yes "$(yes_if [ "$moving" != "$(picture)" ])"
  mouse up 1
  sleep 0.3
  frozen=$(picture)
  sleep 0.5
  check "released: the scene is frozen" "$frozen" "$(picture)"
  record  # only the alarms from here on
  check "edge yellow; each alarm whole, 0.3 s, the scene still meanwhile; back inside dark red" \
    "255,255,0 yes 128,0,0" "$(edge_and_back held_at_edge)"
  check "the alarm is an 880 Hz tone" yes "$(heard 880)"
  check "alarms follow one another without mixing" yes "$(audio unmixed)"
  # The tick that found the block inside came after the last alarm had ended.
  record
  check "silent once the block is back inside" "" "$(sleep 0.6; audio tones)"
  stop
  # A fresh game: the block dragged onto enemy 0 inside the field; the enemy turns light blue.
  start
  record
  drag 200 200 73 79
  check "an enemy touching the block turns light blue" 192,192,255 "$(wait_pixel 104 64 192,192,255)"
  check "the buzz is heard at its own pitch, 2 kHz" yes "$(heard 2000)"
  mouse up 1
  stop
}

section_instances() {
  start
  second_rc=0
  second_out=$(timeout 10 "${game[@]}" 2>&1) || second_rc=$?
  check "second start exits 0 and silently" "0 " "$second_rc $second_out"
  check "still one window, the first instance still runs" "1 yes" "$(windows) $(yes_if kill -0 "$pid")"
  kill -9 "$pid"
  wait "$pid" 2>/dev/null
  start
  check "starts after a killed instance" yes "$(started)"
  stop
  # Odd command lines are kept, never interpreted.
  # Windows passes at most 32 767 characters of command line.
  long=$(printf "x%.0s" $(seq $([[ $home == windows ]] && echo 30000 || echo 100000)))
  for args in "--help" "a  b \"quoted\"" $'\xff\xfe' "-platform nonsense" "$long"; do
    # shellcheck disable=SC2086
    start $args
    check "starts with arguments: ${args:0:20}" yes "$(started)"
    stop
  done
  [[ $home == windows ]] && return  # the lock folder below is the Linux lock's
  XDG_RUNTIME_DIR="$work/does-not-exist" start
  check "starts without a usable lock folder" yes "$(started)"
  stop
  # Without a runtime folder the lock goes to a folder of the user's own in the shared temporary
  # folder. Another user who made that folder first and holds a lock there keeps no one out.
  mkdir -m 1777 "$work/tmp"
  XDG_RUNTIME_DIR="" TMPDIR="$work/tmp" start
  check "starts quietly without a runtime folder" "yes " "$(started) $(cat "$work/err.log")"
  stop
  [[ $(id -u) == 0 ]] || { echo "not root: another user's lock is left out"; return; }
  chmod o+x "$work"
  rm -rf "$work/tmp/wirbelbox-0"
  mkdir -m 777 "$work/tmp/wirbelbox-0"
  chown nobody "$work/tmp/wirbelbox-0"
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    flock "$work/tmp/wirbelbox-0/wirbelbox.lock" sleep 30 >/dev/null 2>&1 &
  holder=$!
  sleep 0.5
  XDG_RUNTIME_DIR="" TMPDIR="$work/tmp" start
  check "another user's held lock keeps no one out" "yes nobody" \
    "$(started) $(stat -c %U "$work/tmp/wirbelbox-0/wirbelbox.lock")"
  stop
  kill "$holder"
}

section_signals() {
  # An interrupt is a console's event on Windows, and the game has no console.
  for signal in TERM HUP $([[ $home == windows ]] || echo INT); do
    SDL_AUDIODRIVER=dummy start  # stderr must stay empty: no sound server to speak up
    drag 207 201 207 40  # at the field's edge an alarm plays in every tick
    sleep 0.5
    kill -s "$signal" "$pid"
    ended
    # Released over the desktop, where the window manager opens its menu: close that again.
    xdotool mouseup 1 sleep 0.3 key Escape
    check "SIG$signal during a sound ends the game promptly, no core dump, quietly" "yes 0" \
      "$(yes_if [ "$status" != running ] && [ "$status" != 134 ] && [ "$status" != 139 ]) $(wc -l <"$work/err.log")"
  done
  start
  check "starts after the signals" yes "$(started)"
  stop
}

section_sound() {
  SDL_AUDIODRIVER=no-such-driver start
  check "plays on silently without a sound device" "255,255,0 128,0,0" "$(edge_and_back)"
  stop
  # A sound server that accepts connections and never answers: a stopped PulseAudio.
  kill -STOP "$server"
  start
  check "plays on silently beside a server that never answers" "255,255,0 128,0,0" "$(edge_and_back)"
  check "and again" "255,255,0 128,0,0" "$(edge_and_back)"
  stop
  start_pulse
}

section_nodisplay() {
  for display in "" ":97"; do
    DISPLAY="$display" WAYLAND_DISPLAY="" QT_QPA_PLATFORM="" "${game[@]}" >"$work/out.log" 2>"$work/err.log"
    check "no display '$display': exit status 1" 1 "$?"
    check "no display '$display': one line on stderr, nothing on stdout" "1 0" \
      "$(grep -c '^wirbelbox: cannot open the game window: ' "$work/err.log") $(wc -c <"$work/out.log")"
  done
}

# The window manager restarts under the running game; without one, the outer size is the
# client size.
section_desktop() {
  start
  stop_wm
  check "plays on while the window manager is gone" "yes 1" "$(yes_if kill -0 "$pid") $(windows)"
  start_wm
  sleep 0.5
  locate
  drag 200 200 210 200
  check "plays on under the new window manager" 128,0,0 "$(wait_pixel 236 200 128,0,0)"
  mouse up 1
  stop
  stop_wm
  start
  check "without a window manager the client area is placed" "$(placement 425 432)" "$cx $cy"
  stop
  start_wm
}

streams() { pactl list short sink-inputs 2>/dev/null | wc -l; }
# Waits up to five seconds for the server to list N streams of the game; prints what it saw.
wait_streams() {
  for _ in $(seq 50); do
    [[ $(streams) == "$1" ]] && break
    sleep 0.1
  done
  streams
}

# A real PulseAudio server of the test's own, recorded from its null sink's monitor.
section_pulse() {
  start_pulse
  start
  drag 207 201 207 40
  check "the mixer lists the game by name" 'application.name = "Wirbelbox" media.name = "Wirbelbox"' \
    "$(wait_streams 1 >/dev/null; pactl list sink-inputs | grep -oE '(application|media)\.name = "[^"]*"' | sort | xargs -d '\n')"
  mouse move $((cx + 207)) $((cy + 201)) up 1
  check "the stream goes away after a quiet spell" 0 "$(sleep 3; wait_streams 0)"
  drag 207 201 207 40
  check "and comes back with the next sound" 1 "$(wait_streams 1)"
  # The server killed in the middle of a sound: the game plays on, silent.
  kill -9 "$server"
  wait "$server" 2>/dev/null
  mouse move $((cx + 207)) $((cy + 201))
  check "plays on when the server dies during a sound" 128,0,0 "$(wait_pixel 202 205 128,0,0)"
  mouse move $((cx + 207)) $((cy + 40))
  check "silent and playing while the server is gone" "255,255,0 yes" \
    "$(wait_pixel 202 45 255,255,0) $(yes_if kill -0 "$pid")"
  start_pulse
  check "the sound comes back with the server" 1 "$(wait_streams 1)"
  # The server stopped during a sound, then continued.
  kill -STOP "$server"
  mouse move $((cx + 207)) $((cy + 201))
  check "plays on while the server is stopped" 128,0,0 "$(wait_pixel 202 205 128,0,0)"
  mouse move $((cx + 207)) $((cy + 40))
  check "and at the edge again" 255,255,0 "$(wait_pixel 202 45 255,255,0)"
  kill -CONT "$server"
  record
  check "the alarm sounds again once the server goes on" yes "$(heard 880)"
  mouse move $((cx + 207)) $((cy + 201)) up 1
  stop
}

# The X server goes away (a logout, a dropped remote display) while a sound plays: the game ends
# by itself with one message on stderr, no crash. (Under Wine the message is Xlib's, one line or
# two, depending on whether it first reads or writes the dead connection.) Nothing can run after
# this section.
section_xserver() {
  SDL_AUDIODRIVER=dummy start
  drag 207 201 207 40
  sleep 0.5
  kill "$xvfb"
  ended
  check "ends when the X server goes away: status, messages on stderr" "1 1" \
    "$status $(grep -c -v '^[[:space:]]' "$work/err.log")" ||
    cat "$work/err.log"
}

# Random presses with several buttons, drags on and off the block, releases outside the window,
# speed-bar clicks. The game must survive without a sanitizer report and with flat memory.
section_soak() {
  export SDL_AUDIODRIVER=dummy ASAN_OPTIONS="detect_leaks=0:quarantine_size_mb=1:${ASAN_OPTIONS:-}"
  start
  rss() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null; }
  RANDOM=20261206  # the same storm on every run
  local x=207 y=201 begin=$SECONDS halfway="" actions=0
  while ((SECONDS - begin < SOAK_SECONDS)) && kill -0 "$pid" 2>/dev/null; do
    [[ -z "$halfway" ]] && ((SECONDS - begin >= SOAK_SECONDS / 2)) && halfway=$(rss)
    case $((RANDOM % 4)) in
      0)  # drag with the left button, wander (out of the window too), the right button on the way
        mouse move $((cx + x)) $((cy + y)) down 1 \
          move $((cx + RANDOM % 600 - 90)) $((cy + RANDOM % 600 - 90)) down 3 \
          move $((cx + RANDOM % 600 - 90)) $((cy + RANDOM % 600 - 90)) up 3 \
          move $((cx + x)) $((cy + y)) up 1 ;;
      1)  # the right or middle button on the block, released outside the window
        button=$((RANDOM % 2 + 2))
        mouse move $((cx + x)) $((cy + y)) down $button \
          move $((cx + 500 + RANDOM % 100)) $((cy + RANDOM % 500)) up $button ;;
      2) mouse move $((cx + 36 + (RANDOM % 3) * 175)) $((cy + 413)) click 1 ;;  # speed bar
      3) mouse move $((cx + RANDOM % 425)) $((cy + RANDOM % 432)) click $((RANDOM % 3 + 1)) ;;
    esac
    actions=$((actions + 1))
  done
  final=$(rss)
  echo "soak: $actions actions, resident memory ${halfway:-?} kB halfway, ${final:-?} kB at the end"
  check "the game survived the storm" yes "$(yes_if kill -0 "$pid")"
  stop
  check "no sanitizer report" "" "$(grep -E 'Sanitizer|runtime error' "$work/err.log" | head -n 5)"
  check "resident memory stays flat (growth under 8 MB)" yes "$(yes_if [ $((${final:-0} - ${halfway:-0})) -lt 8192 ])"
}

for section in $sections; do
  "section_$section"
done
finish
