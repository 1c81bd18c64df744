#!/usr/bin/env bash
# Launches the real program, lets it run at maximum speed, quits it with Ctrl+Q and checks that
# it ended with status 0 and saved its preferences; then the same for SIGTERM.
set -uo pipefail
binary=$1
config=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$config"
}
trap cleanup EXIT
fail() { echo "$*"; exit 1; }

await_exit() {
  for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "$1: did not quit"
  wait "$pid"
  local status=$?
  pid=
  [ "$status" -eq 0 ] || fail "$1: exit status $status"
  file="$config/Vornick prefs.conf"
  grep -q '^maxIters=10000000$' "$file" || fail "$1: preferences not saved: $(cat "$file" 2>&1)"
  grep -q '^randomizeProg=no$' "$file" || fail "$1: preferences incomplete: $(cat "$file")"
  rm -f "$file"
}

XDG_CONFIG_HOME=$config "$binary" &
pid=$!

# Qt replaces the first native window once the GL surface exists, so look for the window only
# when it has settled. Without a window manager a click activates it; it lands on the panel,
# where a click does nothing else.
sleep 2
for _ in $(seq 40); do
  window=$(xdotool search --onlyvisible --name '^Vornick$' 2>/dev/null | tail -n 1)
  [ -n "$window" ] && xdotool mousemove --window "$window" 380 200 click 1 2>/dev/null && break
  window=
  sleep 0.5
done
[ -n "$window" ] || fail "no Vornick window"

xdotool key ctrl+4  # maximum speed: Quit must still get through
sleep 1
xdotool key ctrl+q
await_exit "Ctrl+Q"

XDG_CONFIG_HOME=$config "$binary" &
pid=$!
sleep 2
kill -TERM "$pid"
await_exit "SIGTERM"
echo "quit cleanly by Ctrl+Q and by SIGTERM, preferences saved"
