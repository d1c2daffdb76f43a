#!/usr/bin/env bash
# Plays the real program in a private X server (1024 x 768) under the JWM window manager, with
# xdotool for the mouse and screen grabs for the picture.
# Usage: game.sh COMMAND...   (the command that starts the game: the Linux program, wine with
#                              the Windows program, or a browser (chromium, firefox-esr or
#                              WebKitGTK's MiniBrowser) with the web page's folder)
# E2E_SECTIONS picks sections (default: all of them for the platform, xserver last);
# SOAK_SECONDS adds the input soak.
set -uo pipefail
game=("$@")
for i in "${!game[@]}"; do  # the window checks run in a folder of their own
  [[ -e "${game[$i]}" ]] && game[$i]=$(realpath "${game[$i]}")
done
home=linux
[[ "$(basename "$1")" == wine* ]] && home=windows
[[ "$(basename "$1")" =~ ^(chromium|firefox-esr|MiniBrowser)$ ]] && home=page
# The sections each home plays; the X server's end comes last: nothing can run after it. What
# Windows leaves out, and why: sound (its faults are SDL's; Wine plays through its own drivers),
# nodisplay (Windows always has a desktop), desktop, pulse and wayland (the Linux desktop's window
# manager, sound server and compositor).
# The page, in a browser's window, plays the play section: the browser owns its window, its
# instances and its signals, and the page's own test (tests/web/page.mjs) checks what it shows.
declare -A homes=(
  [linux]="window play instances signals sound nodisplay desktop pulse wayland xserver"
  [windows]="window play instances signals xserver"
  [page]="play"
)
sections=${E2E_SECTIONS:-${homes[$home]}}
[[ -n "${SOAK_SECONDS:-}" ]] && sections+=" soak"
work=$(mktemp -d)
pid="" server="" recorder="" holder="" compositor=""
web="" title=""  # a browser may add its own name to the window's title
[[ $home == page ]] && title="( . .*)?"
trap 'kill -CONT $server 2>/dev/null; kill $pid $server $recorder $holder $compositor $web $wm $xvfb 2>/dev/null; rm -rf "$work" 2>/dev/null' EXIT
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work"
mkdir -m 700 "$XDG_RUNTIME_DIR"

source "$(dirname "$0")/check.sh"

# A private X server and window manager.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
read -r -t 10 display <"$work/display" || { echo "FAIL: no X server"; exit 1; }
export DISPLAY=":$display"
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
start_wm

# A PulseAudio server of the test's own, with a null sink whose monitor the tests record.
start_pulse() {
  pulseaudio --daemonize=no --exit-idle-time=-1 -n -L "module-null-sink sink_name=wirbelbox" \
    -L module-native-protocol-unix >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
}
# Both programs' sounds end up in $work/audio.raw (44.1 kHz, 16-bit mono): the Linux one through
# SDL's disk driver; the Windows one paced in real time, through Wine's ALSA driver and ALSA's
# PulseAudio plugin into the test's PulseAudio server, recorded from its null sink's monitor.
audio="$work/audio.raw"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio"
if [[ $home == windows ]]; then
  start_pulse
  export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
  printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' >"$HOME/.asoundrc"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
elif [[ $home == page ]]; then
  start_pulse
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
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
# Starts $audio afresh: SDL's disk file is emptied, the server's sound recorded anew.
record() {
  if [[ $home != linux ]]; then
    kill "$recorder" 2>/dev/null
    wait "$recorder" 2>/dev/null
    parec -d wirbelbox.monitor --raw --format=s16le --rate=44100 --channels=1 >"$audio" 2>/dev/null &
    recorder=$!
  else
    : >"$audio"
  fi
}
# The pitch of each tenth of a second of what was played, from its zero crossings, in Hz.
pitches() {
  python3 -c 'import sys, array
s = [x for x in array.array("h", open(sys.argv[1], "rb").read()) if x]
print(*(round(sum((a < 0) != (b < 0) for a, b in zip(s[i:i + 4410], s[i + 1:i + 4410])) / 0.2 / 10) * 10
        for i in range(0, len(s) - 4409, 4410)))' "$audio" 2>/dev/null
}

# yes once a pitch is heard, waiting up to five seconds (a sound device may be slow to start).
heard() {
  for _ in $(seq 50); do
    grep -qw "$1" <<<"$(pitches)" && break
    sleep 0.1
  done
  yes_if grep -qw "$1" <<<"$(pitches)"
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
    id=$(xdotool search --onlyvisible --pid "$pid" --name "^Wirbelbox$title" 2>/dev/null | head -n 1)
    [[ -n "$id" ]] && break
    sleep 0.1
  done
  [[ -n "$id" ]] || { cx=0 cy=0; head -n 3 "$work/err.log"; }
  [[ -n "$id" ]] && locate
  sleep 0.3
}
# The client area's screen origin: cx, cy; in a browser window, the game's black form's.
locate() {
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
  import -silent -window root -crop "1x1+$((cx + $1))+$((cy + $2))" -depth 8 txt:- | tail -n 1 |
    sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
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
picture() { import -silent -window root -crop "425x432+$cx+$cy" -depth 8 rgb:- | md5sum; }
# Presses the left button at one client point and, holding it, moves to another.
drag() { xdotool mousemove $((cx + $1)) $((cy + $2)) mousedown 1 mousemove $((cx + $3)) $((cy + $4)); }
# Drags the block onto the field's top edge and back; prints the colours seen at both places.
edge_and_back() {
  drag 207 201 207 40
  local at_edge back
  at_edge=$(wait_pixel 207 40 255,255,0)
  xdotool mousemove $((cx + 207)) $((cy + 201))
  back=$(wait_pixel 207 201 128,0,0)
  xdotool mouseup 1
  echo "$at_edge $back"
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
  xdotool mouseup 1
  sleep 0.3
  frozen=$(picture)
  sleep 0.5
  check "released: the scene is frozen" "$frozen" "$(picture)"
  record  # only the alarms from here on
  check "block at the edge turns yellow, back inside dark red" "255,255,0 128,0,0" "$(edge_and_back)"
  check "the alarm is an 880 Hz tone" yes "$(heard 880)"
  check "alarms follow one another without mixing" yes "$(unmixed)"
  stop
  # A fresh game: the block dragged onto enemy 0 inside the field; the enemy turns light blue.
  start
  drag 200 200 73 79
  check "an enemy touching the block turns light blue" 192,192,255 "$(wait_pixel 104 64 192,192,255)"
  xdotool mouseup 1
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
    SDL_AUDIODRIVER=dummy start  # the disk driver would speak up on stderr
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
  start_pulse
  kill -STOP "$server"
  SDL_AUDIODRIVER=pulseaudio start
  check "plays on silently beside a server that never answers" "255,255,0 128,0,0" "$(edge_and_back)"
  check "and again" "255,255,0 128,0,0" "$(edge_and_back)"
  stop
  kill -CONT "$server"
  kill "$server"
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
  xdotool mouseup 1
  stop
  stop_wm
  start
  check "without a window manager the client area is placed" "$(placement 425 432)" "$cx $cy"
  stop
  start_wm
}

# Each tenth of a second of sound peaks at the alarm's full scale and stays off the rails but
# for a few samples (a resampled peak can overshoot): two sounds mixed would sum, clipping a good
# part of the block, or cancel.
unmixed() {
  python3 -c 'import sys, array
s = [x for x in array.array("h", open(sys.argv[1], "rb").read()) if x]
blocks = [s[i:i + 4410] for i in range(0, len(s) - 4409, 4410)]
print("yes" if blocks and all(30000 < max(map(abs, b)) and sum(abs(x) > 32766 for x in b) < 441 for b in blocks) else "no")' "$audio"
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
  rm -f "$audio"
  parec -d wirbelbox.monitor --raw --format=s16le --rate=44100 --channels=1 >"$audio" &
  recorder=$!
  SDL_AUDIODRIVER=pulseaudio start
  drag 207 201 207 40
  wait_pixel 207 40 255,255,0 >/dev/null
  sleep 1.5
  check "the mixer lists the game by name" 'application.name = "Wirbelbox" media.name = "Wirbelbox"' \
    "$(pactl list sink-inputs | grep -oE '(application|media)\.name = "[^"]*"' | sort | xargs -d '\n')"
  xdotool mousemove $((cx + 207)) $((cy + 201)) mouseup 1
  sleep 0.5
  kill "$recorder"
  wait "$recorder" 2>/dev/null
  check "the alarm arrives as 880 Hz" yes "$(yes_if grep -qw 880 <<<"$(pitches)")"
  ls -la "$audio" >&2; python3 -c "import array,sys; a=array.array(\"h\", open(sys.argv[1],\"rb\").read()); print(len(a), sum(1 for x in a if x))" "$audio" >&2
  check "alarms follow one another without mixing" yes "$(unmixed)"
  check "the stream goes away after a quiet spell" 0 "$(sleep 3; wait_streams 0)"
  drag 207 201 207 40
  check "and comes back with the next sound" 1 "$(wait_streams 1)"
  # The server killed in the middle of a sound: the game plays on, silent.
  kill -9 "$server"
  wait "$server" 2>/dev/null
  xdotool mousemove $((cx + 207)) $((cy + 201))
  check "plays on when the server dies during a sound" 128,0,0 "$(wait_pixel 207 201 128,0,0)"
  xdotool mousemove $((cx + 207)) $((cy + 40))
  check "silent and playing while the server is gone" "255,255,0 yes" \
    "$(wait_pixel 207 40 255,255,0) $(yes_if kill -0 "$pid")"
  start_pulse
  check "the sound comes back with the server" 1 "$(wait_streams 1)"
  # The server stopped during a sound, then continued.
  kill -STOP "$server"
  xdotool mousemove $((cx + 207)) $((cy + 201))
  check "plays on while the server is stopped" 128,0,0 "$(wait_pixel 207 201 128,0,0)"
  xdotool mousemove $((cx + 207)) $((cy + 40))
  check "and at the edge again" 255,255,0 "$(wait_pixel 207 40 255,255,0)"
  kill -CONT "$server"
  rm -f "$audio"
  parec -d wirbelbox.monitor --raw --format=s16le --rate=44100 --channels=1 >"$audio" &
  recorder=$!
  sleep 2
  kill "$recorder"
  check "the alarm sounds again once the server goes on" yes "$(yes_if grep -qw 880 <<<"$(pitches)")"
  xdotool mousemove $((cx + 207)) $((cy + 201)) mouseup 1
  stop
  kill "$server"
}

# Under a Wayland compositor (Weston, headless): the window opens with its title and
# application id (read from the client's protocol trace), and SIGTERM ends the game.
section_wayland() {
  weston --backend=headless-backend.so --socket=wirbelbox-wayland --idle-time=0 >/dev/null 2>&1 &
  compositor=$!
  for _ in $(seq 50); do [[ -S "$XDG_RUNTIME_DIR/wirbelbox-wayland" ]] && break; sleep 0.1; done
  WAYLAND_DISPLAY=wirbelbox-wayland QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 SDL_AUDIODRIVER=dummy \
    "${game[@]}" >"$work/out.log" 2>"$work/err.log" &
  pid=$!
  for _ in $(seq 50); do grep -q 'set_app_id' "$work/err.log" && break; sleep 0.1; done
  sleep 0.5
  check "Wayland: title and application id" \
    'set_title("Wirbelbox") set_app_id("io.github.wirbelbox.wirbelbox")' \
    "$(grep -oE 'set_(title|app_id)\("[^"]*"\)' "$work/err.log" | sort -r | uniq | xargs -d '\n')"
  kill -TERM "$pid"
  ended
  check "Wayland: SIGTERM ends the game, no core dump" yes \
    "$(yes_if [ "$status" != running ] && [ "$status" != 134 ] && [ "$status" != 139 ])"
  kill "$compositor"
}

# The X server goes away (a logout, a dropped remote display) while a sound plays: the game ends
# by itself with one line on stderr, no crash. Nothing can run after this section.
section_xserver() {
  SDL_AUDIODRIVER=dummy start
  drag 207 201 207 40
  sleep 0.5
  kill "$xvfb"
  ended
  check "ends when the X server goes away: status, lines on stderr" "1 1" "$status $(wc -l <"$work/err.log")" ||
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
        xdotool mousemove $((cx + x)) $((cy + y)) mousedown 1 \
          mousemove $((cx + RANDOM % 600 - 90)) $((cy + RANDOM % 600 - 90)) mousedown 3 \
          mousemove $((cx + RANDOM % 600 - 90)) $((cy + RANDOM % 600 - 90)) mouseup 3 \
          mousemove $((cx + x)) $((cy + y)) mouseup 1 ;;
      1)  # the right or middle button on the block, released outside the window
        button=$((RANDOM % 2 + 2))
        xdotool mousemove $((cx + x)) $((cy + y)) mousedown $button \
          mousemove $((cx + 500 + RANDOM % 100)) $((cy + RANDOM % 500)) mouseup $button ;;
      2) xdotool mousemove $((cx + 36 + (RANDOM % 3) * 175)) $((cy + 413)) click 1 ;;  # speed bar
      3) xdotool mousemove $((cx + RANDOM % 425)) $((cy + RANDOM % 432)) click $((RANDOM % 3 + 1)) ;;
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
