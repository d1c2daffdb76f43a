#!/usr/bin/env bash
# Plays the real program on a private 1024 x 768 desktop (Windows also on a second, larger screen
# for its scaled window) with real input, screen grabs for the picture and a private PulseAudio
# server for the sound: an X server (Xvfb) under the JWM window manager driven by xdotool, or a headless sway driven by a virtual pointer (wayland/pointer.c,
# its path in E2E_POINTER) and grabbed by grim.
# Usage: game.sh [--home wayland] COMMAND...   (the command that starts the game: the Linux
#   program, wine with the Windows program, or a browser with the web page's folder: chromium,
#   firefox-esr or WebKitGTK's MiniBrowser)
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
browser=$(basename "$1")
home=${home:-linux}
# The sections each home plays; the X server's end comes last: nothing can run after it. What
# Windows leaves out, and why: sound (its faults are the Linux player's; Wine plays through its
# own drivers), nodisplay (Windows always has a desktop), desktop and pulse (the Linux desktop's
# window manager and sound server).
# The page, in a browser's window, plays the play section: the browser owns its window, its
# instances and its signals, and the page's own test (tests/web/page.mjs) checks what it shows.
# Under Wayland the window section checks what a client there can know (it learns nothing of its
# place on the screen: the compositor decides it); the rest is the X11 home's.
declare -A homes=(
  [linux]="window play instances signals sound nodisplay desktop pulse xserver"
  [wayland]="window play"
  [windows]="window scaled play instances signals xserver"
  [page]="play"
)
sections=${E2E_SECTIONS:-${homes[$home]}}
[[ -n "${SOAK_SECONDS:-}" ]] && sections+=" soak"
# sway refuses to run as root: the Wayland home runs as nobody.
if [[ $home == wayland && $(id -u) == 0 ]]; then
  exec setpriv --reuid=nobody --regid=nogroup --clear-groups "$(realpath "$0")" --home wayland "${game[@]}"
fi
title=""  # a browser may add its own name to the window's title
[[ $home == page ]] && title="( . .*)?"
work=$(mktemp -d)
pid="" server="" recorder="" holder="" web="" wm="" xvfb="" compositor="" scaled_wm=""
trap 'kill -CONT $server 2>/dev/null; kill $pid $server $recorder $holder $web $wm $scaled_wm $xvfb $compositor 2>/dev/null; rm -rf "$work" 2>/dev/null' EXIT
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work"
mkdir -m 700 "$XDG_RUNTIME_DIR"

here=$(dirname "$(realpath "$0")")
source "$here/check.sh"

start_wm() {  # start_wm [VARIABLE]: its process id in wm, or in VARIABLE
  jwm >/dev/null 2>&1 &
  printf -v "${1:-wm}" %s $!
  poll 100 wm_ready
}
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
if [[ $home == wayland ]]; then
  # One 1024 x 768 output, windows without borders; the pointer client keeps one virtual pointer
  # for the whole run.
  printf '%s\n' "output HEADLESS-1 resolution 1024x768 position 0 0" "default_border none" \
    "default_floating_border none" >"$work/sway.conf"
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
  compositor=$!
  poll 100 test -S "$XDG_RUNTIME_DIR/wayland-1"
  export WAYLAND_DISPLAY=wayland-1 QT_QPA_PLATFORM=wayland
  export SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null)
  coproc pointer { "$E2E_POINTER" 1024 768; }
else
  mkfifo "$work/display"
  # -noreset: the server would otherwise reset whenever its last client goes, as when a test has
  # just stopped both the window manager and the game; once a game started then could not connect.
  # Windows gets a second screen, large enough for the window at 200 %.
  screens=(-screen 0 1024x768x24)
  [[ $home == windows ]] && screens+=(-screen 1 2048x1536x24)
  Xvfb -displayfd 3 "${screens[@]}" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 10 display <"$work/display" || { echo "FAIL: no X server"; exit 1; }
  export DISPLAY=":$display.0"
  start_wm
fi
# The pointer, in screen pixels: mouse move X Y | down B | up B | click B, in any sequence.
mouse() {
  local words=() lines=() screen=${DISPLAY:-:0.0}
  while (($#)); do
    case $1 in
      move) words+=(mousemove --screen "${screen##*.}" "$2" "$3") lines+=("move $2 $3"); shift 3 ;;
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
# The screen's pixels in GEOMETRY (WxH+X+Y), 8-bit RGB. The driver's grabs and its sound
# analysis (audio below) run at the lowest priority, to leave the browser's or Wine's audio
# thread (see there) as much of the two cores as they can.
grab() {
  if [[ $home == wayland ]]; then
    nice -n 19 grim -g "$(sed -E 's/([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)/\3,\4 \1x\2/' <<<"$1")" -t ppm - |
      nice -n 19 convert ppm:- -depth 8 rgb:-
  else
    nice -n 19 import -silent -window root -crop "$1" -depth 8 rgb:-
  fi
}

# A PulseAudio server of the test's own (in place of one that runs), with a null sink whose
# monitor the tests record. The null sink renders in blocks as long as its clients allow: two
# seconds while none asks for less, as before a game's first sound, and a recording then arrives
# in bursts up to two seconds behind the screen. A listener that asks for 20 ms for the server's
# whole life keeps every recording within 20 ms of the sound.
start_pulse() {
  [[ -n "$server" ]] && { kill -CONT "$server"; kill "$server"; wait "$server"; } 2>/dev/null
  pulseaudio --daemonize=no --exit-idle-time=-1 -n -L "module-null-sink sink_name=wirbelbox" \
    -L module-native-protocol-unix >/dev/null 2>&1 &
  server=$!
  poll 50 pactl info >/dev/null 2>&1
  parec --latency-msec=20 -d wirbelbox.monitor >/dev/null 2>&1 &
}
# Every home's sound goes to the test's PulseAudio server and is recorded from its null sink's
# monitor into $work/audio.raw (44.1 kHz, 16-bit mono). Wine reaches it through its ALSA driver
# and ALSA's PulseAudio plugin; a browser and the Linux program directly.
audio="$work/audio.raw"
start_pulse
export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
nowhere="unix:$work/no-server"  # a sound server that is not there
if [[ $home == windows ]]; then
  # A device latency of Windows' order: with the plugin's default of two seconds, Wine holds a
  # synchronous sound until the whole buffer has drained.
  # The prefix is made with the server running and PULSE_SERVER set, or Wine finds no stream.
  export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" PULSE_LATENCY_MSEC=30
  printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' >"$HOME/.asoundrc"
  # A prefix without its system files would fail every check below, one time-out at a time.
  WINEDEBUG=-all,err+all wineboot -i >"$work/wineboot.log" 2>&1 && [[ -e $WINEPREFIX/drive_c/windows/system32/kernel32.dll ]] ||
    { echo "FAIL: no complete Wine prefix ($(df -h --output=avail "$work" | tail -1) free):"; cat "$work/wineboot.log"; exit 1; }
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
elif [[ $home == page ]]; then
  node "$here/../../scripts/serve.mjs" "${game[1]}" >"$work/url" 2>/dev/null &
  web=$!
  poll 50 test -s "$work/url"
  url=$(<"$work/url")
  case $browser in
    chromium) game=("${game[0]}" --app="$url" --test-type --no-first-run --no-sandbox --disable-gpu
      --disable-background-networking --disable-component-update --disable-sync
      --window-size=600,560 --window-position=0,0) ;;
    firefox-esr) game=("${game[0]}" --no-remote --kiosk "$url") ;;
    MiniBrowser) game=("${game[0]}" --geometry=600x560+0+0 "$url") ;;
  esac
fi
# Records the server's sound into $audio afresh.
record() {
  { kill "$recorder"; wait "$recorder"; } 2>/dev/null
  parec --latency-msec=20 -d wirbelbox.monitor --raw --format=s16le --rate=44100 --channels=1 >"$audio" 2>/dev/null &
  recorder=$!
}
# What the recording holds (tests/e2e/audio.py): audio pitches|tones. Under Wine the
# sound passes through ALSA's PulseAudio plugin, in a page through the browser's audio stream:
# clients that feed the server some 30 ms at a time from a thread of their own (as SDL did). A
# desktop gives such a thread real-time priority (rtkit), this machine does not: under load it
# misses a period now and then, so seams shorter than a period inside an alarm are bridged
# there. The game's own players hand the server each sound whole, and no seam is bridged.
seam=0
[[ $home == windows || $home == page ]] && seam=1323
audio() { nice -n 19 python3 "$here/audio.py" "$1" "$audio" "$seam" "${@:2}" 2>/dev/null; }
# yes once a pitch is heard, waiting up to five seconds (a sound device may be slow to start).
heard() { yes_if poll 50 hears "$1"; }
hears() { grep -qw "$1" <<<"$(audio pitches)"; }
# Whether the recording holds at least N alarms; sets tones to their lengths.
alarms() { read -r -a tones <<<"$(audio tones)" && ((${#tones[@]} >= $1)); }
# Held at the edge, every tick plays one alarm to its end (after a buzz for each enemy on the
# block): yes when the alarms after the device settled played whole, 0.3 s unbroken, one after
# the other, and the scene moved on only as each sound began: over sixteen pictures no more
# often than sounds began in as long a stretch of the recording (each sound at least `shortest`
# long; `steps` changes for each under Wine, below). The stretch starts where the recording stood
# as the watch began: a recording that falls behind the screen for a while (its client starved)
# counts the same. The watch starts once the device has settled (a sound device may be slow to
# start, and falter at first).
held_at_edge() {
  local tones=() first n changes from start took sounds verdict=yes
  poll 50 whole_alarm
  from=$(($(stat -c %s "$audio") / 2)) start=${EPOCHREALTIME/./}
  changes=$(($(for _ in $(seq 16); do picture; done | uniq | wc -l) - 1))
  took=$(((${EPOCHREALTIME/./} - start) * 441 / 10000))  # in samples
  poll 100 recorded $((from + took)) && poll 50 alarms $((first + 6))
  sounds=$((($(audio sounding $from $((from + took))) + shortest - 1) / shortest))
  ((first > 0 && ${#tones[@]} >= first + 6 && changes <= sounds * steps + 1)) || verdict=no
  for n in "${tones[@]:first:5}"; do ((n >= shortest && n <= 305)) || verdict=no; done
  [[ $verdict == yes ]] && echo yes ||
    echo "no: alarms of ${tones[*]} ms; $changes changes, $sounds sounds in $((took / 44)) ms"
}
recorded() { (($(stat -c %s "$audio") >= 2 * $1)); }
# Whether the device has settled: two whole alarms heard in a row; sets first to the number of
# alarms up to them. An alarm counts as whole from 0.3 s less one period of the stream (10 ms):
# a sound that starts after the stream ran dry is moved forward into the device's buffer, and the
# null sink's monitor has sent on that stretch of silence already. (Wine's route drops the last
# few tens of milliseconds, its latency, as it closes the device.) Wine also shows a tick's
# picture in up to two steps, the second within the first tenth of a second of its sound: the
# window's surface reaches the X server in parts. (Windows keeps the system's own synchronous
# player, so the wait this watch is for is not the game's there.)
shortest=290 steps=1
[[ $home == windows ]] && shortest=250 steps=2
whole_alarm() {
  local previous=0
  alarms 0
  for ((first = 1; first <= ${#tones[@]}; previous = tones[first - 1], first++)); do
    ((tones[first - 1] >= shortest && previous >= shortest)) && return 0
  done
  first=0
  return 1
}

# A fresh browser profile for each start, as its command-line arguments; Firefox's without its
# first-run pages.
profile() {
  local folder
  folder=$(mktemp -d -p "$work")
  case $browser in
    chromium) echo --user-data-dir="$folder" ;;
    firefox-esr)
      printf 'user_pref("%s", %s);\n' browser.aboutwelcome.enabled false \
        browser.shell.checkDefaultBrowser false datareporting.policy.dataSubmissionEnabled false \
        >"$folder/user.js"
      echo --profile "$folder" ;;
  esac
}
# Starts the game with extra arguments; sets pid, id (empty when no window showed within ten
# seconds) and the client area's screen origin cx, cy.
start() {
  [[ $home == page ]] && set -- $(profile) "$@"
  "${game[@]}" "$@" >"$work/out.log" 2>"$work/err.log" &
  pid=$!
  if poll 100 shown; then locate; else cx=0 cy=0; head -n 3 "$work/err.log"; fi
  sleep 0.3
}
# Whether the game's window shows; sets id to it.
shown() {
  if [[ $home == wayland ]]; then
    id=$(view | cut -d ' ' -f 1)
  else
    id=$(xdotool search --onlyvisible --pid "$pid" --name "^Wirbelbox$title" 2>/dev/null | head -n 1)
  fi
  [[ -n "$id" ]]
}
# What sway shows of the game's window: "id x y width height con|floating_con app_id title",
# the surface's place and size in screen pixels.
view() {
  swaymsg -t get_tree 2>/dev/null | jq -r --argjson pid "$pid" '.. | objects | select(.pid? == $pid) |
    "\(.id) \(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width)" +
    " \(.window_rect.height) \(.type) \(.app_id) \(.name)"'
}
# The client area's screen origin: cx, cy; in a browser window, the game's black form's.
locate() {
  [[ -n "$id" ]] || return  # (xwininfo and import would wait for a click on a window)
  [[ $home == wayland ]] && { read -r _ cx cy _ <<<"$(view)"; return; }
  read -r cx cy < <(xwininfo -id "$id" |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
  [[ $home == page ]] || return
  # The black pixels, eroded by 5 so that thin dark strokes of the browser's own go: the form
  # is what is left, 5 pixels smaller on every side.
  poll 100 form_found
  cx=$((cx + fx - 5)) cy=$((cy + fy - 5))
}
form_found() {
  read -r w h fx fy < <(import -silent -window "$id" png:- | convert - -fill white +opaque black \
    -negate -morphology Erode Square:5 -trim -format '%w %h %[fx:page.x] %[fx:page.y]' info: 2>/dev/null)
  [[ "$w $h" == "415 422" ]]
}
# Where the game places a window of this outer size on the 1024 x 768 screen, "left top" in
# pixels: the load handler's arithmetic in twips, then the nearest pixel.
placement() {  # placement OUTER_WIDTH OUTER_HEIGHT
  local left=$((7680 - $1 * 15 / 2)) top=$((4896 - $2 * 15 / 2))
  echo "$(((2 * (left > 0 ? left : 0) + 15) / 30)) $(((2 * (top > 0 ? top : 0) + 15) / 30))"
}
started() { [[ -n "$id" ]] && echo yes || echo no; }
# Starts the game and holds the block at the field's edge, where every tick plays an alarm.
start_sounding() {
  start
  drag 207 201 207 40
  sleep 0.5
}
# Checks that the game starts with extra arguments (and whatever environment the call sets), then
# stops it: starts DESCRIPTION [ARGUMENTS...]
starts() {
  local what=$1
  shift
  start "$@"
  check "$what" yes "$(started)"
  stop
}
# yes when the game's window shows the same picture half a second later.
still() { yes_if [ "$(picture)" == "$(sleep 0.5; picture)" ]; }
# Waits up to five seconds for the game to end; sets status to its exit status, or "running".
# (Not in a subshell: only this shell can collect its child's status.)
ended() {
  status=running
  poll 50 gone && { wait "$pid"; status=$?; }
}
gone() { ! kill -0 "$pid" 2>/dev/null; }
stop() { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
client_size() { xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
# A game pixel's first screen pixel at the window's scale (percent): the nearest, halves up.
percent=100
at() { echo $((($1 * percent + 50) / 100)); }
windows() { xdotool search --onlyvisible --name '^Wirbelbox$' 2>/dev/null | wc -l; }
# "r,g,b" of a client pixel, and the same after waiting up to five seconds for a colour.
pixel() {
  grab "1x1+$((cx + $1))+$((cy + $2))" | od -An -tu1 | awk '{print $1 "," $2 "," $3}'
}
wait_pixel() { poll 50 pixel_is "$@"; echo "$seen"; }
pixel_is() { seen=$(pixel "$1" "$2") && [[ "$seen" == "$3" ]]; }
picture() { grab "425x432+$cx+$cy" | md5sum; }
# The colours at rest of the background, the field, the player block and the four enemies.
scene() {
  for point in 5,5 420,428 33,392 392,33 200,200 227,221 60,60 300,40 50,350 380,320; do
    pixel "${point%,*}" "${point#*,}"
  done | xargs
}
# Presses the left button at one client point and, holding it, moves to another.
drag() { mouse move $((cx + $1)) $((cy + $2)) down 1 move $((cx + $3)) $((cy + $4)); }
# With the block held: moves it onto the field's top edge, or back inside in two steps a frame
# apart (a page holds back moves made while a sound plays; they must run in order), and prints
# the colour then seen beside the pointer (a compositor may draw its cursor into the picture).
to_edge() { mouse move $((cx + 207)) $((cy + 40)); wait_pixel 202 45 255,255,0; }
inside() {
  mouse move $((cx + 207)) $((cy + 120))
  sleep 0.03
  mouse move $((cx + 207)) $((cy + 201))
  wait_pixel 202 205 128,0,0
}
# Drags the block onto the field's top edge and back; prints the colours seen at both places and,
# between them, what a command given prints while the block is held at the edge.
edge_and_back() {
  mouse move $((cx + 207)) $((cy + 201)) down 1
  local at_edge during="" back
  at_edge=$(to_edge)
  (($#)) && during=" $("$@")"
  back=$(inside)
  mouse up 1
  echo "$at_edge$during $back"
}

# The window as the desktop meets it. Under Wayland: its names in sway's tree, its fixed size in
# what the client asked (a minimum equal to its maximum: no resizing, no maximising).
section_window() {
  cd "$work"
  before=$(find "$work" -not -path "$work/runtime*" -not -name '*.log' | sort)
  WAYLAND_DEBUG=1 start
  check "window appears" yes "$(started)"
  [[ -n "$id" ]] || return
  if [[ $home == wayland ]]; then
    read -r _ _ _ width height floating app_id name <<<"$(view)"
    check "title, application id" "Wirbelbox io.github.wirbelbox.wirbelbox" "$name $app_id"
    check "surface 425 x 432, floating as a fixed size asks" "425x432 floating_con" "${width}x$height $floating"
    check "minimum and maximum size asked: 425 x 432" "set_max_size(425, 432) set_min_size(425, 432)" \
      "$(grep -oE 'set_(min|max)_size\([^)]*\)' "$work/err.log" | sort -u | xargs -d '\n')"
    swaymsg "[con_id=$id] kill" >/dev/null
  else
    check "title" Wirbelbox "$(xdotool getwindowname "$id")"
    check "client size" 425x432 "$(client_size)"
    # The outer frame's corner is where the game placed it by its outer size: Wine draws a
    # Windows frame of 3 pixels under a 19-pixel caption inside the window manager's; on Linux
    # the frame is the window manager's.
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    [[ $home == windows ]] && left=3 right=3 top=22 bottom=3
    read -r x y <<<"$(placement $((425 + left + right)) $((432 + top + bottom)))"
    check "window placed by its outer size ($x $y), to the pixel" "1 1" \
      "$((((cx - left - x) ** 2) <= 1)) $((((cy - top - y) ** 2) <= 1))"
    check "of closing, moving, resizing, maximising, minimising and full screen, only the first two allowed" \
      "CLOSE MOVE" "$(xprop -id "$id" _NET_WM_ALLOWED_ACTIONS | grep -oE \
        '_NET_WM_ACTION_(CLOSE|MOVE|RESIZE|MAXIMIZE_HORZ|MAXIMIZE_VERT|MINIMIZE|FULLSCREEN)\b' | cut -c16- | sort | xargs)"
    check "icon 32 x 32" yes "$(yes_if grep -q 'Icon (32 x 32)' < <(xprop -id "$id" _NET_WM_ICON))"
    xdotool windowactivate --sync "$id" key --clearmodifiers alt+F4 >/dev/null 2>&1
  fi
  ended
  check "closing ends the program" 0 "$status"
  check "nothing written to the working folder" "$before" \
    "$(find "$work" -not -path "$work/runtime*" -not -name '*.log' | sort)"
}

section_play() {
  record
  start
  check "the picture: background, field, player, enemies" "0,0,0 0,0,0 255,255,255 255,255,255 \
128,0,0 128,0,0 0,0,128 0,0,128 0,0,128 0,0,128" "$(scene)"
  check "idle window stays still" yes "$(still)"
  drag 200 200 210 200
  check "block follows the pointer (new right edge, old left edge)" "128,0,0 255,255,255" \
    "$(wait_pixel 236 200 128,0,0) $(wait_pixel 190 200 255,255,255)"
  # Enemy 0 heads down and right while the button is held: its first corner is soon field.
  check "enemies move while the button is held" 255,255,255 "$(wait_pixel 47 39 255,255,255)"
  mouse up 1
  sleep 0.3
  check "released: the scene is frozen" yes "$(still)"
  record  # only the alarms from here on
  # (Two alarms mixed would clip or jump in phase: no unbroken stretch of 0.3 s.)
  check "edge yellow; each alarm whole, unmixed, 0.3 s, the scene still meanwhile; back inside dark red" \
    "255,255,0 yes 128,0,0" "$(edge_and_back held_at_edge)"
  check "the alarm is an 880 Hz tone" yes "$(heard 880)"
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

# The Windows program at 150 % and 200 % (LogPixels in the private prefix): the game's own pixels
# drawn at the screen's scale, each a whole block of screen pixels of one colour; a drag 1:1 with
# the pointer in game pixels; the blue blocks on the paths they take at 100 %.
section_scaled() {
  local dpi desktop=$DISPLAY
  # Silent, so that no buzz holds the ticks up: the enemies get far in the time given.
  export DISPLAY="${desktop%.*}.1" PULSE_SERVER=$nowhere
  start_wm scaled_wm
  for dpi in 144 192 96; do
    percent=$((dpi * 100 / 96))
    # Wine learns the scale and the screen's size when its server starts: it starts anew.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
    ((dpi == 96)) && break  # 100 % again for the sections after
    start
    check "$percent %: window appears" yes "$(started)"
    [[ -n "$id" ]] || continue
    local size="$(at 425)x$(at 432)" path
    check "$percent %: client area $size" "$size" "$(client_size)"
    # At speed 10 (nine clicks on the bar's right arrow), the block held for three seconds: every
    # block a solid rectangle of one colour at its scaled place, the enemies turned where the
    # game's outer height at 100 % (the client and Wine's frame) turns them.
    for _ in {1..9}; do mouse move $((cx + $(at 386))) $((cy + $(at 413))) click 1; done
    mouse move $((cx + $(at 207))) $((cy + $(at 201))) down 1
    sleep 3
    mouse up 1
    sleep 0.5
    path=$(grab "$size+$cx+$cy" | python3 "$here/picture.py" "${size%x*}" "${size#*x}" "$percent" 457 10)
    check "$percent %: solid blocks where they stand at 100 %, past their first turn ($path)" \
      yes "$(yes_if [ "${path#tick }" -gt 35 ] 2>/dev/null)"
    stop
    # A fresh game: the block, 187 to 228 wide, dragged 10 game pixels right: from 197 to 238.
    start
    mouse move $((cx + $(at 200))) $((cy + $(at 200))) down 1 move $((cx + $(at 210))) $((cy + $(at 200)))
    check "$percent %: the block follows the pointer 1:1 in game pixels, edges on whole pixels" \
      "255,255,255 128,0,0 128,0,0 255,255,255" "$(wait_pixel $(($(at 197) - 1)) "$(at 200)" 255,255,255) \
$(pixel "$(at 197)" "$(at 200)") $(pixel $(($(at 238) - 1)) "$(at 200)") $(pixel "$(at 238)" "$(at 200)")"
    mouse up 1
    stop
  done
  { kill "$scaled_wm"; wait "$scaled_wm"; } 2>/dev/null
  export DISPLAY=$desktop PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
  # Wine's desktop process comes back now, quietly: started by a game, it would write to that
  # game's stderr, and its own message when the X server goes away would join the game's.
  wineboot >/dev/null 2>&1
}

# The Windows installer (E2E_MSI; E2E_MSI_NEXT, one of a higher version), as a player meets it:
# installed for the user without questions, the program in its own folder, a Start-menu shortcut
# and an "Installed apps" entry; the installed program plays the window checks; the newer version
# replaces it in place; removing it leaves no file, folder, shortcut or registry key of the game.
section_installer() {
  local none installed
  # (Wine's own menu entries for the Linux desktop are not the game's.)
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
  program_user=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public | head -n 1)
  none=$(game_files)
  wine msiexec /i "$E2E_MSI" /qn
  check "installs for the user, without questions" 0 $?
  installed=$(game_files)
  check "installed: the program and its licence in their folder, the shortcut, the product's icon" \
    "AppData/Local/Programs/Wirbelbox AppData/Local/Programs/Wirbelbox/COPYING.txt \
AppData/Local/Programs/Wirbelbox/wirbelbox.exe AppData/Roaming/Microsoft/Installer/{}/wirbelbox.ico \
AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Wirbelbox.lnk" \
    "$(sed 's/{[0-9A-F-]*}/{}/' <<<"$installed" | xargs -d '\n')"
  local program shortcut
  program=$(grep '/wirbelbox.exe$' <<<"$installed")
  shortcut=$(grep 'Wirbelbox.lnk$' <<<"$installed")
  check "the shortcut starts the installed program" yes \
    "$(yes_if grep -aqF 'Programs\Wirbelbox\wirbelbox.exe' "$WINEPREFIX/drive_c/users/$program_user/$shortcut")"
  check "one Installed apps entry: name, version, publisher" "Wirbelbox $(msi_property "$E2E_MSI" \
    ProductVersion) Wirbelbox" "$(installed_apps)"
  check "the entry's icon and size (in KB, as Windows shows it)" "wirbelbox.ico yes" \
    "$(msi_property "$E2E_MSI" ARPPRODUCTICON) $(yes_if [ "$(msi_property "$E2E_MSI" ARPSIZE)" -gt 100 ])"
  local saved=("${game[@]}")
  game=(wine "$WINEPREFIX/drive_c/users/$program_user/$program")
  section_window
  game=("${saved[@]}")
  local status
  wine msiexec /i "$E2E_MSI_NEXT" /qn
  status=$?
  check "the next version replaces it in place: one entry, of the new version" \
    "0 Wirbelbox $(msi_property "$E2E_MSI_NEXT" ProductVersion) Wirbelbox" "$status $(installed_apps)"
  wine msiexec /x "$E2E_MSI_NEXT" /qn
  status=$?
  check "removed: no file, folder, shortcut, entry or key of the game left" "0 [$none] [] no" \
    "$status [$(game_files)] [$(installed_apps)] $(wine reg query 'HKCU\Software\Wirbelbox' >/dev/null 2>&1 &&
      echo yes || echo no)"
}
msi_property() { msiinfo export "$1" Property | tr -d '\r' | awk -v p="$2" '$1 == p {print $2}'; }
# Whatever of the game the prefix holds, below the user's folder.
program_user=""
game_files() {
  (cd "$WINEPREFIX/drive_c/users/$program_user" && find . -ipath '*wirbelbox*' | sed 's|^\./||' | LC_ALL=C sort)
}
# The "Installed apps" entries named Wirbelbox (Wine keeps them in either hive): name, version,
# publisher.
installed_apps() {
  for hive in HKCU HKLM; do
    wine reg query "$hive\Software\Microsoft\Windows\CurrentVersion\Uninstall" /s 2>/dev/null
  done | tr -d '\r' | awk '/^HKEY/ {if (n == "Wirbelbox") print n, v, p; n = v = p = ""}
    $1 == "DisplayName" {n = $3} $1 == "DisplayVersion" {v = $3} $1 == "Publisher" {p = $3}
    END {if (n == "Wirbelbox") print n, v, p}'
}

section_instances() {
  start
  second_rc=0
  second_out=$(timeout 10 "${game[@]}" 2>&1) || second_rc=$?
  check "second start exits 0 and silently; one window, the first instance still runs" "0  1 yes" \
    "$second_rc $second_out $(windows) $(yes_if kill -0 "$pid")"
  { kill -9 "$pid"; wait "$pid"; } 2>/dev/null
  starts "starts after a killed instance"
  # Odd command lines are kept, never interpreted.
  # Windows passes at most 32 767 characters of command line.
  long=$(printf "x%.0s" $(seq $([[ $home == windows ]] && echo 30000 || echo 100000)))
  for args in "--help" "a  b \"quoted\"" $'\xff\xfe' "-platform nonsense" "$long"; do
    # shellcheck disable=SC2086
    starts "starts with arguments: ${args:0:20}" $args
  done
  [[ $home == windows ]] && return  # the lock folder below is the Linux lock's
  XDG_RUNTIME_DIR="$work/does-not-exist" starts "starts without a usable lock folder"
  # Without a runtime folder the lock goes to a folder of the user's own in the shared temporary
  # folder. Another user who made that folder first and holds a lock there keeps no one out.
  mkdir -m 1777 "$work/tmp"
  XDG_RUNTIME_DIR="" TMPDIR="$work/tmp" start
  check "starts quietly without a runtime folder" "yes " "$(started) $(cat "$work/err.log")"
  stop
  [[ $(id -u) == 0 ]] || { echo "not root: another user's lock is left out"; return; }
  chmod o+x "$work"
  rm -rf "$work/tmp/wirbelbox-0"
  install -d -m 777 -o nobody "$work/tmp/wirbelbox-0"
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
    start_sounding
    kill -s "$signal" "$pid"
    ended
    # Released over the desktop, where the window manager opens its menu: close that again.
    xdotool mouseup 1 sleep 0.3 key Escape
    check "SIG$signal during a sound ends the game promptly, no core dump, quietly" "yes 0" \
      "$(yes_if [ "$status" != running ] && [ "$status" != 134 ] && [ "$status" != 139 ]) $(wc -l <"$work/err.log")"
  done
  starts "starts after the signals"
}

section_sound() {
  PULSE_SERVER=$nowhere start
  check "plays on silently without a sound server" "255,255,0 128,0,0" "$(edge_and_back)"
  stop
  # A sound server that accepts connections and never answers: a stopped PulseAudio.
  kill -STOP "$server"
  start
  check "plays on silently beside a server that never answers, twice" "255,255,0 128,0,0 255,255,0 128,0,0" \
    "$(edge_and_back) $(edge_and_back)"
  stop
  start_pulse
}

section_nodisplay() {
  for display in "" ":97"; do
    DISPLAY="$display" WAYLAND_DISPLAY="" QT_QPA_PLATFORM="" "${game[@]}" >"$work/out.log" 2>"$work/err.log"
    check "no display '$display': exit status 1, one line on stderr, nothing on stdout" "1 1 0" \
      "$? $(grep -c '^wirbelbox: cannot open the game window: ' "$work/err.log") $(wc -c <"$work/out.log")"
  done
}

# The window manager goes away under the running game; the game starts without one (the outer
# size is then the client size) and plays on under one started later.
section_desktop() {
  start
  { kill -9 "$wm"; wait "$wm"; } 2>/dev/null  # as when it crashes
  sleep 0.5
  check "plays on while the window manager is gone" "yes 1" "$(yes_if kill -0 "$pid") $(windows)"
  stop
  start
  check "without a window manager the client area is placed" "$(placement 425 432)" "$cx $cy"
  start_wm
  sleep 0.5
  locate
  drag 200 200 210 200
  check "plays on under a window manager started later" 128,0,0 "$(wait_pixel 236 200 128,0,0)"
  mouse up 1
  stop
}

# Waits up to five seconds for the server to list N streams of the game; prints what it saw.
wait_streams() { poll 50 streams_are "$1"; echo "$streams"; }
streams_are() { streams=$(pactl list short sink-inputs 2>/dev/null | wc -l) && [[ $streams == "$1" ]]; }

# A real PulseAudio server of the test's own, recorded from its null sink's monitor.
section_pulse() {
  start_pulse
  start
  drag 207 201 207 40
  check "the mixer lists the game by name" 'application.name = "Wirbelbox" media.name = "Wirbelbox"' \
    "$(wait_streams 1 >/dev/null; pactl list sink-inputs | grep -oE '(application|media)\.name = "[^"]*"' | sort | xargs -d '\n')"
  inside >/dev/null
  mouse up 1
  check "the stream goes away after a quiet spell" 0 "$(sleep 3; wait_streams 0)"
  drag 207 201 207 40
  check "and comes back with the next sound" 1 "$(wait_streams 1)"
  { kill -9 "$server"; wait "$server"; } 2>/dev/null
  check "the server killed during a sound: the game plays on, silent" "128,0,0 255,255,0 yes" \
    "$(inside) $(to_edge) $(yes_if kill -0 "$pid")"
  start_pulse
  check "the sound comes back with the server" 1 "$(wait_streams 1)"
  kill -STOP "$server"
  check "the server stopped during a sound: the game plays on" "128,0,0 255,255,0" "$(inside) $(to_edge)"
  kill -CONT "$server"
  record
  check "the alarm sounds again once the server goes on" yes "$(heard 880)"
  inside >/dev/null
  mouse up 1
  stop
}

# The X server goes away (a logout, a dropped remote display) while a sound plays: the game ends
# by itself with one message on stderr, no crash. (Under Wine the message is Xlib's, one line or
# two, depending on whether it first reads or writes the dead connection.) Nothing can run after
# this section.
section_xserver() {
  start_sounding
  kill "$xvfb"
  ended
  check "ends when the X server goes away: status, messages on stderr" "1 1" \
    "$status $(grep -c -v '^[[:space:]]' "$work/err.log")" ||
    cat "$work/err.log"
}

# Random presses with several buttons, on the block, the speed bar or anywhere, drags in and out
# of the window, releases outside it. The game must survive without a sanitizer report.
section_soak() {
  export PULSE_SERVER=$nowhere ASAN_OPTIONS="detect_leaks=0:quarantine_size_mb=1:${ASAN_OPTIONS:-}"
  start
  RANDOM=20261206  # the same storm on every run
  local begin=$SECONDS actions=0 x y first second
  while ((SECONDS - begin < SOAK_SECONDS)) && kill -0 "$pid" 2>/dev/null; do
    ((RANDOM % 2)) && x=207 y=201 || x=$((RANDOM % 425)) y=$((RANDOM % 432))
    first=$((RANDOM % 3 + 1)) second=$((first % 3 + 1))
    mouse move $((cx + x)) $((cy + y)) down $first move $((cx + RANDOM % 600 - 90)) $((cy + RANDOM % 600 - 90)) \
      down $second move $((cx + RANDOM % 600 - 90)) $((cy + RANDOM % 600 - 90)) up $second up $first
    actions=$((actions + 1))
  done
  echo "soak: $actions actions"
  check "the game survived the storm" yes "$(yes_if kill -0 "$pid")"
  stop
  check "no sanitizer report" "" "$(grep -E 'Sanitizer|runtime error' "$work/err.log" | head -n 5)"
}

for section in $sections; do
  "section_$section"
done
finish
