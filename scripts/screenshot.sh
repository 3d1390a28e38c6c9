#!/usr/bin/env bash
# Starts the editor under a virtual X server, first without a file and then
# with a demo wave, drives it with keys and saves PNG screenshots into
# BUILD/screenshots. Fails when the program does not come up or dies.
# Usage: scripts/screenshot.sh [BUILD]   (default build-release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
app=$build/src/app/tonbrisk
grab=$build/src/app/tonbrisk-screengrab
out=$build/screenshots
for tool in Xvfb xdotool sox; do
  command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing (scripts/deps.sh)" >&2; exit 1; }
done
[ -x "$app" ] && [ -x "$grab" ] || { echo "screenshot.sh: build $app and $grab first" >&2; exit 1; }
mkdir -p "$out"
rm -f "$out"/*.png
work=$(mktemp -d)
display=""
for n in $(seq 91 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "screenshot.sh: no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# A two-second stereo sweep with a second tone, faded in and out.
sox -n -r 44100 -c 2 -b 16 "$work/demo.wav" synth 2 sine 220-1760 sine 330 fade 0.2 2 0.4

start() {
  "$app" "$@" >"$work/app.log" 2>&1 &
  app_pid=$!
  # Without a window manager nobody gives the window the keyboard: the
  # script does.
  if ! timeout 20 xdotool search --sync --onlyvisible --name "Tonbrisk 7.0" windowfocus --sync >/dev/null; then
    echo "screenshot.sh: the editor did not show its window" >&2
    cat "$work/app.log" >&2
    exit 1
  fi
  sleep 1.5
}
shot() {
  kill -0 "$app_pid" 2>/dev/null || { echo "screenshot.sh: the editor died" >&2; cat "$work/app.log" >&2; exit 1; }
  "$grab" "$out/$1.png"
  echo "$out/$1.png"
}
stop() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

start
shot 1-empty
stop

start "$work/demo.wav"
shot 2-wave
# Without a window manager a closed dialog leaves the keyboard to nobody:
# the main window is given it back before each command key.
window=$(xdotool search --onlyvisible --name "Tonbrisk 7.0" | head -1)
key() { xdotool windowfocus --sync "$window"; xdotool key "$@"; }
# Play: a line follows the sound through the wave (with the sound server
# that test.sh starts; without one there is nothing to play on).
if [ -S "${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native" ]; then
  key p
  sleep 0.8
  shot 2-playing
  sleep 1.5
fi
# View Volume asks for the diagram's settings first; Enter confirms them.
key alt+v
sleep 1
shot 3-dialog-volume-diagram
xdotool key Return
sleep 2
shot 3-volume
key alt+w
sleep 1
shot 3-dialog-wave-view
xdotool key Return
sleep 0.5
# Effect dialogs, each cancelled with Escape.
for dialog in "v volume" "t tempo-pitch" "alt+e random-echo" "alt+l make-line" \
  "ctrl+n wave-properties" "n register"; do
  key ${dialog%% *}
  sleep 1
  shot "3-dialog-${dialog#* }"
  xdotool key Escape
  sleep 0.3
done
# Reverse changes the document: its title gets the unsaved mark.
key r
sleep 0.5
shot 4-changed
# The File menu, then Exit from it (the last item): the unsaved change is
# asked about; Escape answers Cancel and the program stays.
window=$(xdotool search --onlyvisible --name "Tonbrisk 7.0" | head -1)
xdotool mousemove --window "$window" 20 8 click 1
sleep 0.8
shot 5-file-menu
xdotool key Up Return
sleep 1
shot 6-save-question
xdotool key Escape
sleep 0.5
shot 7-after-cancel
# The help book at the page of the Volume command, through the index.
xdotool windowfocus --sync "$window"
xdotool key shift+F1
sleep 1
xdotool type --delay 50 "Volume"
xdotool key Return
sleep 1
shot 8-help
stop

# Two waves: the select and zoom dialog over the active one, then the merge
# dialog, cancelled.
sox -n -r 22050 -c 1 -b 8 "$work/tone.wav" synth 1 sine 440 fade 0.1 1 0.1
start "$work/demo.wav" "$work/tone.wav"
window=$(xdotool search --onlyvisible --name "Tonbrisk 7.0" | head -1)
xdotool key q
sleep 1
shot 9-select-zoom
xdotool windowfocus --sync "$window"
xdotool key ctrl+m
sleep 1
shot 10-merge-dialog
# The next page: both waves' frequencies and the choice.
xdotool key Tab Tab Right
sleep 0.5
shot 10-merge-dialog-frequency
xdotool key Escape
stop

# A wave drawn by hand: an empty mono wave, Draw Wave Smooth, points clicked
# into the wave window (its client area spans about 0 ... 860 x 200 ... 655
# of the main window) and one of them dragged. Ended, the drawn second is
# an ordinary wave: a drag selects part of it and status panel 1 names the
# time and height under the mouse.
sox -n -r 22050 -c 1 -b 16 "$work/empty.wav" trim 0 0
start "$work/empty.wav"
window=$(xdotool search --onlyvisible --name "Tonbrisk 7.0" | head -1)
xdotool key shift+alt+d
sleep 0.5
for point in "80 420" "220 260" "360 560" "500 300" "640 470" "780 380"; do
  xdotool mousemove --window "$window" $point click 1
  sleep 0.3
done
xdotool mousemove --window "$window" 640 470 mousedown 1 sleep 0.2 \
  mousemove --window "$window" 650 520 sleep 0.2 mouseup 1
sleep 0.5
shot 11-drawing
xdotool key shift+alt+d
sleep 0.5
xdotool mousemove --window "$window" 300 400 mousedown 1 sleep 0.2 \
  mousemove --window "$window" 500 380 sleep 0.2 mouseup 1 mousemove --window "$window" 520 330
sleep 0.5
shot 12-drawn-selected
stop

# A 24-bit recording: the status bar says what the file held, and saving a
# change over it asks first (Escape answers No).
sox -n -r 44100 -c 2 -b 24 "$work/take24.wav" synth 2 sine 220-880 sine 330 fade 0.2 2 0.4
start "$work/take24.wav"
shot 9-wide-file
xdotool key r
sleep 0.5
xdotool key ctrl+s
sleep 1
shot 9-wide-save-question
xdotool key Escape
sleep 0.3
stop

# Multi Frequency grown to three frequencies with Append, each new one
# keeping the ticked fields.
start "$work/demo.wav"
xdotool key alt+f
sleep 1
xdotool key alt+e
sleep 0.3
xdotool key alt+e
sleep 0.5
shot 13-dialog-multi-frequency
xdotool key Escape
sleep 0.3
stop
