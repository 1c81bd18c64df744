#!/usr/bin/env bash
# Makes the screenshots the software centres show (resources/screenshots), with the program's own
# Export Image: a run of 40 organisms halted at step 250 with one organism selected, at zoom 2.
#   xvfb-run -a -s "-screen 0 1280x1024x24" tools/make_screenshots.sh build/app/vornick
# Needs a display and xdotool.
set -euo pipefail
binary=$(realpath "$1")
out=$(realpath "$(dirname "$0")/../resources/screenshots")
config=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$config"
}
trap cleanup EXIT

export XDG_CONFIG_HOME=$config
printf '[General]\nslow=0.001\nsetStopPt=yes\nstopIters=250\niNumOrgs=40\n' >"$config/Vornick prefs.conf"
HOME=$config "$binary" &
pid=$!
sleep 3
window=$(xdotool search --onlyvisible --name '^Vornick$' | tail -n 1)
# Without a window manager a click gives the window the keyboard; the panel takes it quietly.
xdotool mousemove --window "$window" 380 200 click 1
sleep 1
xdotool key ctrl+equal Tab Tab Tab
sleep 1
xdotool key ctrl+e
sleep 2
shot=$out/run.png
rm -f "$shot"
xdotool key ctrl+a
xdotool type --delay 20 "$shot"
xdotool key Return
for _ in $(seq 50); do [ -s "$shot" ] && break; sleep 0.2; done
[ -s "$shot" ] || { echo "no picture was exported" >&2; exit 1; }
# The closed file dialog leaves no window with the keyboard: a click gives it back.
xdotool mousemove --window "$window" 380 200 click 1 key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
file "$shot"
